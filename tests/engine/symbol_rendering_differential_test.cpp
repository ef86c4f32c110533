// The engine's renderer against the literal module-by-module layout, for
// every column count (every bit offset of the patterns and of the stop
// pattern), random rows, levels and codewords, plain and inverted.
#include "reference/symbol_rendering_reference.h"

#include "pdf417_work.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

TEST(SymbolRenderingDifferential, MatchesTheLiteralLayout) {
    std::mt19937 random(17);
    for (int round = 0; round < 3000; ++round) {
        TPDF417Param param{};
        PDF417InitParam(&param);
        param.Columns = 1 + round % PDF417MaxColumns;
        const int32_t maxRows = std::min<int32_t>(PDF417MaxRows, PDF417MaxCodewords / param.Columns);
        param.Rows = PDF417MinRows + static_cast<int32_t>(random() % static_cast<uint32_t>(maxRows - PDF417MinRows + 1));
        param.ErrorLevel = static_cast<int32_t>(random() % (PDF417MaxErrorLevelValue + 1));
        param.Flags = random() % 2 ? efInvertBitmap : 0;
        for (int32_t& codeword : param.Codewords)
            codeword = static_cast<int32_t>(random() % (PDF417MaxCodewordValue + 1));
        SCOPED_TRACE(std::to_string(param.Rows) + " rows x " + std::to_string(param.Columns) +
                     " columns, level " + std::to_string(param.ErrorLevel) +
                     (param.Flags ? ", inverted" : ""));
        const std::vector<uint8_t> expected = reference::RenderSymbol(param);

        TPDF417Work work{0, 0, &param};
        PDF417RenderSymbol(work);

        ASSERT_EQ(param.RowWidth, 17 * param.Columns + 69);
        ASSERT_EQ(std::vector<uint8_t>(param.RowBits, param.RowBits + param.RowBitsSize), expected);
        PDF417FreeParam(&param);
    }
}
