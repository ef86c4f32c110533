// Draws the codeword matrix as packed bit rows: start pattern, left row
// indicator, data columns, right row indicator and stop pattern in every row.
#include "pdf417_work.h"
#include "symbol_characters.h"

#include <cstdlib>
#include <cstring>

namespace {

int32_t BytesPerRow(int32_t rowWidth) {
    return (rowWidth - 1) / 8 + 1;
}

// Draws one row from left to right: patterns gather in a 64-bit accumulator
// and leave it as whole 32-bit words, most significant byte first, so every
// byte of the row is stored once and none is read back. Finish stores the
// last bits with zero fill bits behind them, which ends the row on its last
// byte.
class TRowWriter {
public:
    explicit TRowWriter(uint8_t* row) : Out(row) {}

    void Put(uint32_t pattern, int32_t modules) {
        // At most 31 bits wait here before a pattern of at most 18 comes in.
        Pending = Pending << modules | pattern;
        PendingBits += modules;
        if (PendingBits >= 32) {
            PendingBits -= 32;
            StoreWord(static_cast<uint32_t>(Pending >> PendingBits));
        }
    }

    // The last bits, fill bits 0 behind them. Below the last row a whole word
    // may run into the next row, which is drawn over it afterwards; the last
    // row stores its bytes exactly.
    void Finish(const uint8_t* end) {
        const auto word = static_cast<uint32_t>(Pending << (32 - PendingBits));
        if (end - Out >= 4) {
            StoreWord(word);
            return;
        }
        for (int32_t i = 0; i < (PendingBits + 7) / 8; ++i)
            Out[i] = static_cast<uint8_t>(word >> (24 - 8 * i));
    }

private:
    void StoreWord(uint32_t word) {
        Out[0] = static_cast<uint8_t>(word >> 24);
        Out[1] = static_cast<uint8_t>(word >> 16);
        Out[2] = static_cast<uint8_t>(word >> 8);
        Out[3] = static_cast<uint8_t>(word);
        Out += 4;
    }

    uint8_t* Out;
    uint64_t Pending = 0;
    int32_t PendingBits = 0;
};

// Row indicators of ISO/IEC 15438: each row's cluster carries a different pair
// of rows, columns and level, so a scanner learns all three from any 3 rows.
// Row r shows Left[r mod 3] and Right[r mod 3], each plus 30 x (r div 3).
struct TRowIndicators {
    int32_t Left[3];
    int32_t Right[3];
};

TRowIndicators RowIndicators(const TPDF417Param& param) {
    const int32_t rowsPart = (param.Rows - 1) / 3;
    const int32_t columnsPart = param.Columns - 1;
    const int32_t levelPart = 3 * param.ErrorLevel + (param.Rows - 1) % 3;
    return {{rowsPart, levelPart, columnsPart}, {columnsPart, rowsPart, levelPart}};
}

} // namespace

void PDF417RenderSymbol(TPDF417Work& work) {
    TPDF417Param& param = *work.Param;
    param.RowWidth = (param.Columns + 3) * SymbolCharacterModules + StopPatternModules;
    const int32_t bytesPerRow = BytesPerRow(param.RowWidth);
    param.RowBitsSize = bytesPerRow * param.Rows;
    // Zero-filled as allocated, and from malloc, as PDF417FreeParam releases
    // with free. (calloc would pass by the allocator's per-thread cache.)
    const auto size = static_cast<size_t>(param.RowBitsSize);
    param.RowBits = static_cast<uint8_t*>(std::malloc(size));
    // At most 2700 bytes: running out here leaves no way to go on, and the
    // record has no code for it, so stop plainly rather than write through null.
    if (!param.RowBits) std::abort();
    std::memset(param.RowBits, 0, size);

    const int32_t rows = param.Rows;
    const int32_t columns = param.Columns;
    const TRowIndicators indicators = RowIndicators(param);
    const int32_t* codeword = param.Codewords;
    const uint8_t* const end = param.RowBits + param.RowBitsSize;
    for (int32_t row = 0, cluster = 0, base = 0; row < rows; ++row) {
        work.BitPos = row * bytesPerRow * 8;
        TRowWriter writer(param.RowBits + work.BitPos / 8);
        const uint32_t* patterns = ClusterPatterns[cluster];
        writer.Put(StartPattern, SymbolCharacterModules);
        writer.Put(patterns[base + indicators.Left[cluster]], SymbolCharacterModules);
        for (int32_t column = 0; column < columns; ++column)
            writer.Put(patterns[*codeword++], SymbolCharacterModules);
        writer.Put(patterns[base + indicators.Right[cluster]], SymbolCharacterModules);
        writer.Put(StopPattern, StopPatternModules);
        writer.Finish(end);
        if (++cluster == 3) {
            cluster = 0;
            base += 30;
        }
    }

    if (param.Flags & efInvertBitmap)
        for (int32_t i = 0; i < param.RowBitsSize; ++i)
            param.RowBits[i] = static_cast<uint8_t>(~param.RowBits[i]);
}
