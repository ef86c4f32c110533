#include "pdf417.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(Param, InitFillsTheDefaultsAndKeepsTheShapeFields) {
    TPDF417Param p;
    std::memset(&p, 0x5A, sizeof p);
    PDF417InitParam(&p);
    EXPECT_EQ(p.Flags, 0u);
    EXPECT_EQ(p.RowBits, nullptr);
    EXPECT_EQ(p.RowBitsSize, 0);
    EXPECT_EQ(p.ErrorCode, ecSuccess);
    EXPECT_EQ(p.DataLength, -1);
    ASSERT_NE(p.Data, nullptr);
    EXPECT_EQ(p.Data[0], 0);
    EXPECT_EQ(p.AspectRatio, 0.5);
    EXPECT_EQ(p.RowHeightRatio, 3.0);
    // Left for the caller: what its flags call for.
    EXPECT_EQ(p.RowWidth, 0x5A5A5A5A);
    EXPECT_EQ(p.Rows, 0x5A5A5A5A);
    EXPECT_EQ(p.Columns, 0x5A5A5A5A);
    EXPECT_EQ(p.CodewordCount, 0x5A5A5A5A);
    EXPECT_EQ(p.ErrorLevel, 0x5A5A5A5A);
    EXPECT_EQ(p.Codewords[0], 0x5A5A5A5A);
    EXPECT_EQ(p.Codewords[927], 0x5A5A5A5A);
}

TEST(Param, FreeOnAnEmptyRecordChangesNothing) {
    TPDF417Param p{};
    PDF417InitParam(&p);
    p.Rows = 12;
    p.RowBitsSize = 7;
    PDF417FreeParam(&p);
    EXPECT_EQ(p.RowBits, nullptr);
    EXPECT_EQ(p.Rows, 12);
    EXPECT_EQ(p.RowBitsSize, 7);
}

} // namespace
