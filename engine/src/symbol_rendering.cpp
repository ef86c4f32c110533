// Draws the codeword matrix as packed bit rows: start pattern, left row
// indicator, data columns, right row indicator and stop pattern in every row.
#include "pdf417_work.h"
#include "symbol_characters.h"

#include <cstdlib>

namespace {

int32_t BytesPerRow(int32_t rowWidth) {
    return (rowWidth - 1) / 8 + 1;
}

// ORs the `modules` low bits of `pattern`, first module highest, into RowBits at
// BitPos with whole-byte writes. The window spans as many bytes as the pattern
// touches, so nothing past the row's last used byte is written.
void PutModules(TPDF417Work& work, uint32_t pattern, int32_t modules) {
    uint8_t* out = work.Param->RowBits + work.BitPos / 8;
    const int32_t offset = work.BitPos % 8;
    const int32_t bytes = (offset + modules + 7) / 8;
    // Left-align the pattern in a 32-bit window that starts at the first byte.
    const uint32_t window = pattern << (32 - modules - offset);
    for (int32_t i = 0; i < bytes; ++i)
        out[i] |= static_cast<uint8_t>(window >> (24 - 8 * i));
    work.BitPos += modules;
}

// Row indicators of ISO/IEC 15438: each row's cluster carries a different pair
// of rows, columns and level, so a scanner learns all three from any 3 rows.
struct TRowIndicators {
    int32_t Left;
    int32_t Right;
};

TRowIndicators RowIndicators(const TPDF417Param& param, int32_t row) {
    const int32_t base = 30 * (row / 3);
    const int32_t rowsPart = (param.Rows - 1) / 3;
    const int32_t columnsPart = param.Columns - 1;
    const int32_t levelPart = 3 * param.ErrorLevel + (param.Rows - 1) % 3;
    switch (row % 3) {
    case 0:
        return {base + rowsPart, base + columnsPart};
    case 1:
        return {base + levelPart, base + rowsPart};
    default:
        return {base + columnsPart, base + levelPart};
    }
}

} // namespace

void PDF417PutPattern(TPDF417Work& work, uint32_t pattern) {
    PutModules(work, pattern, SymbolCharacterModules);
}

void PDF417PutStartPattern(TPDF417Work& work) {
    PDF417PutPattern(work, StartPattern);
}

void PDF417PutStopPattern(TPDF417Work& work) {
    PutModules(work, StopPattern, StopPatternModules);
}

void PDF417RenderSymbol(TPDF417Work& work) {
    TPDF417Param& param = *work.Param;
    param.RowWidth = (param.Columns + 3) * SymbolCharacterModules + StopPatternModules;
    const int32_t bytesPerRow = BytesPerRow(param.RowWidth);
    param.RowBitsSize = bytesPerRow * param.Rows;
    // calloc: zero fill for the ORs below, and PDF417FreeParam releases with free.
    param.RowBits = static_cast<uint8_t*>(std::calloc(static_cast<size_t>(param.RowBitsSize), 1));

    const int32_t* codeword = param.Codewords;
    for (int32_t row = 0; row < param.Rows; ++row) {
        work.BitPos = row * bytesPerRow * 8;
        const uint32_t* patterns = ClusterPatterns[row % 3];
        const TRowIndicators indicators = RowIndicators(param, row);
        PDF417PutStartPattern(work);
        PDF417PutPattern(work, patterns[indicators.Left]);
        for (int32_t column = 0; column < param.Columns; ++column)
            PDF417PutPattern(work, patterns[*codeword++]);
        PDF417PutPattern(work, patterns[indicators.Right]);
        PDF417PutStopPattern(work);
    }

    if (param.Flags & efInvertBitmap)
        for (int32_t i = 0; i < param.RowBitsSize; ++i)
            param.RowBits[i] = static_cast<uint8_t>(~param.RowBits[i]);
}
