#include "pdf417_options.h"

#include <gtest/gtest.h>

namespace {

// The stored byte is what a form keeps, so the bit of each option is fixed.
TEST(PDF417OptionsTest, EachOptionHasItsOwnBit) {
    EXPECT_EQ(TPDF417Options{poAutoErrorLevel}.Bits(), 1);
    EXPECT_EQ(TPDF417Options{poFixedColumn}.Bits(), 2);
    EXPECT_EQ(TPDF417Options{poFixedRow}.Bits(), 4);
    EXPECT_EQ((TPDF417Options{poAutoErrorLevel, poFixedColumn, poFixedRow}.Bits()), 7);
    EXPECT_EQ(TPDF417Options::FromBits(0xFF).Bits(), 7);
}

TEST(PDF417OptionsTest, SetOperations) {
    TPDF417Options options{poAutoErrorLevel};
    options.Include(poFixedRow).Exclude(poAutoErrorLevel);
    EXPECT_EQ(options, TPDF417Options{poFixedRow});
    EXPECT_TRUE(options.Contains(poFixedRow));
    EXPECT_FALSE(options.Contains(poAutoErrorLevel));

    const TPDF417Options both = options + TPDF417Options{poFixedColumn};
    EXPECT_EQ(both, (TPDF417Options{poFixedColumn, poFixedRow}));
    EXPECT_EQ((both - TPDF417Options{poFixedRow, poAutoErrorLevel}), TPDF417Options{poFixedColumn});
}

} // namespace
