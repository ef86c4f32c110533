#include "pdf417.h"
#include "symbol_sizing.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(SymbolSizing, MaxErrorLevelIsTheLargestLevelThatFits) {
    struct Case {
        int32_t Free, Level;
    };
    const Case cases[] = {{-5, 0},  {0, 0},   {1, 0},   {3, 0},   {4, 1},
                          {7, 1},   {8, 2},   {16, 3},  {31, 3},  {32, 4},
                          {255, 6}, {256, 7}, {511, 7}, {512, 8}, {928, 8}};
    for (const Case c : cases) {
        SCOPED_TRACE(::testing::Message() << "free " << c.Free);
        EXPECT_EQ(PDF417MaxErrorLevel(c.Free), c.Level);
    }
}

TEST(SymbolSizing, MaxRectangleFollowsTheColumnsReachedSoFar) {
    struct Case {
        int32_t Columns, ExpectedColumns, ExpectedRows;
    };
    for (const Case c : {Case{1, 16, 58}, Case{21, 16, 58}, Case{22, 29, 32}, Case{30, 29, 32}}) {
        SCOPED_TRACE(::testing::Message() << c.Columns << " columns");
        TPDF417Param param{};
        param.Columns = c.Columns;
        param.Rows = 90;
        EXPECT_EQ(PDF417UseMaxRectangle(&param), 928);
        EXPECT_EQ(param.Columns, c.ExpectedColumns);
        EXPECT_EQ(param.Rows, c.ExpectedRows);
    }
}

TEST(SymbolSizing, ColumnFormulaStaysWithinOneToThirty) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    struct Case {
        double AspectRatio, RowHeightRatio;
        int32_t Codewords, Columns;
    };
    const Case cases[] = {
        {0.5, 3.0, 116, 5},    // x = 4.766
        {0.25, 3.0, 116, 8},   // x = 7.526
        {1.0, 3.0, 116, 3},    // x = 2.929
        {0.5, 3.0, 18, 1},     // x = 1.252
        {0.001, 3.0, 116, 30}, // x far above 30
        {1000.0, 3.0, 2, 1},   // x near 0
        {0.5, inf, 116, 30},   // an infinite root must not reach the integer conversion
        {0.5, 1e308, 928, 30}, // the discriminant overflows to infinity
    };
    for (const Case c : cases) {
        SCOPED_TRACE(::testing::Message() << "AR " << c.AspectRatio << ", RHR " << c.RowHeightRatio
                                          << ", n " << c.Codewords);
        EXPECT_EQ(PDF417ColumnsForAspectRatio(c.AspectRatio, c.RowHeightRatio, c.Codewords),
                  c.Columns);
    }
}

} // namespace
