#include "pdf417_work.h"
#include "symbol_characters.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// A rendered matrix of given shape and level over the codewords 0, 1, 2, ...
// (mod 929) unless the test supplies its own.
struct Rendering {
    TPDF417Param Param{};
    TPDF417Work Work{};

    Rendering(int32_t rows, int32_t columns, int32_t level,
              const std::vector<int32_t>& codewords = {}, uint32_t flags = 0) {
        PDF417InitParam(&Param);
        Param.Rows = rows;
        Param.Columns = columns;
        Param.ErrorLevel = level;
        Param.Flags = flags;
        for (int32_t i = 0; i < PDF417MaxCodewords; ++i)
            Param.Codewords[i] = i % 929;
        for (size_t i = 0; i < codewords.size(); ++i)
            Param.Codewords[i] = codewords[i];
        Param.CodewordCount = 1; // the renderer draws Rows x Columns codewords regardless
        Work.Param = &Param;
        PDF417RenderSymbol(Work);
    }
    ~Rendering() { PDF417FreeParam(&Param); }

    int32_t BytesPerRow() const { return (Param.RowWidth + 7) / 8; }

    std::string RowHex(int32_t row) const {
        std::string hex;
        char buf[4];
        for (int32_t i = 0; i < BytesPerRow(); ++i) {
            std::snprintf(buf, sizeof buf, "%s%02X", i ? " " : "",
                          Param.RowBits[row * BytesPerRow() + i]);
            hex += buf;
        }
        return hex;
    }

    // `count` modules of a row from module `start` on, first module highest.
    uint32_t Modules(int32_t row, int32_t start, int32_t count) const {
        uint32_t value = 0;
        for (int32_t m = start; m < start + count; ++m) {
            const uint8_t byte = Param.RowBits[row * BytesPerRow() + m / 8];
            value = value << 1 | ((byte >> (7 - m % 8)) & 1u);
        }
        return value;
    }
};

TEST(SymbolRendering, WorkedExampleByteForByte) {
    const std::vector<int32_t> codewords = {4, 1, 2, 3, 322, 687};
    const Rendering plain(3, 2, 0, codewords);
    EXPECT_EQ(plain.Param.RowWidth, 103);
    EXPECT_EQ(plain.Param.RowBitsSize, 39);
    EXPECT_EQ(plain.RowHex(0), "FF 54 75 70 3D 4F 1E AF 0F 57 87 F4 52");
    EXPECT_EQ(plain.RowHex(1), "FF 54 7A 90 3D 48 1F 53 0F AB 07 F4 52");
    EXPECT_EQ(plain.RowHex(2), "FF 54 75 7E 39 A7 DD F4 CA 9E 07 F4 52");

    const Rendering inverted(3, 2, 0, codewords, efInvertBitmap);
    EXPECT_EQ(inverted.RowHex(0), "00 AB 8A 8F C2 B0 E1 50 F0 A8 78 0B AD");
}

// Every width from 1 to 30 columns puts the stop pattern at a different bit
// offset; Columns mod 8 = 4 starts it on a byte's last bit so it spans four bytes.
TEST(SymbolRendering, RowFrameAtEveryWidth) {
    for (int32_t columns = 1; columns <= PDF417MaxColumns; ++columns) {
        for (const bool invert : {false, true}) {
            SCOPED_TRACE(::testing::Message()
                         << columns << " columns" << (invert ? ", inverted" : ""));
            const Rendering r(3, columns, 2, {}, invert ? efInvertBitmap : 0);
            const int32_t width = 17 * columns + 69;
            ASSERT_EQ(r.Param.RowWidth, width);
            ASSERT_EQ(r.Param.RowBitsSize, 3 * ((width + 7) / 8));
            const uint32_t mask = invert ? 0x3FFFF : 0;
            const int32_t fill = r.BytesPerRow() * 8 - width;
            for (int32_t row = 0; row < 3; ++row) {
                EXPECT_EQ(r.Modules(row, 0, 17), StartPattern ^ (mask & 0x1FFFF));
                EXPECT_EQ(r.Modules(row, width - 18, 18), StopPattern ^ mask);
                if (fill > 0) {
                    EXPECT_EQ(r.Modules(row, width, fill), mask & ((1u << fill) - 1));
                }
            }
        }
    }
}

TEST(SymbolRendering, WidthTable) {
    struct Case {
        int32_t Columns, RowWidth, BytesPerRow, FillBits;
    };
    for (const Case c :
         {Case{1, 86, 11, 2}, Case{2, 103, 13, 1}, Case{4, 137, 18, 7}, Case{30, 579, 73, 5}}) {
        SCOPED_TRACE(::testing::Message() << c.Columns << " columns");
        const Rendering r(3, c.Columns, 0);
        EXPECT_EQ(r.Param.RowWidth, c.RowWidth);
        EXPECT_EQ(r.BytesPerRow(), c.BytesPerRow);
        EXPECT_EQ(r.BytesPerRow() * 8 - r.Param.RowWidth, c.FillBits);
    }
    // Columns 4: the stop pattern's last module, a bar, is the top bit of the last byte.
    const Rendering four(3, 4, 0);
    EXPECT_EQ(four.Param.RowBits[17], 0x80);
}

// 90 x 10 at level 8 is the largest buffer and uses the largest indicator values;
// every cell shows its codeword although CodewordCount says 1.
TEST(SymbolRendering, EveryCellAndIndicatorOfTheLargestMatrix) {
    const Rendering r(90, 10, 8);
    ASSERT_EQ(r.Param.RowWidth, 239);
    ASSERT_EQ(r.BytesPerRow(), 30);
    ASSERT_EQ(r.Param.RowBitsSize, 2700);
    for (int32_t row = 0; row < 90; ++row) {
        SCOPED_TRACE(::testing::Message() << "row " << row);
        const uint32_t* patterns = ClusterPatterns[row % 3];
        const int32_t base = 30 * (row / 3);
        const int32_t indicators[3][2] = {
            {base + 29, base + 9}, {base + 24 + 2, base + 29}, {base + 9, base + 24 + 2}};
        EXPECT_EQ(r.Modules(row, 17, 17), patterns[indicators[row % 3][0]]);
        EXPECT_EQ(r.Modules(row, 17 * 12, 17), patterns[indicators[row % 3][1]]);
        for (int32_t column = 0; column < 10; ++column)
            EXPECT_EQ(r.Modules(row, 34 + 17 * column, 17), patterns[(row * 10 + column) % 929]);
    }
    EXPECT_EQ(r.Modules(89, 17, 17), ClusterPatterns[2][879]);
    EXPECT_EQ(r.Modules(89, 17 * 12, 17), ClusterPatterns[2][896]);
}

TEST(SymbolRendering, IndicatorsOfAThreeRowSymbolHaveBaseZero) {
    const Rendering r(3, 5, 4);
    EXPECT_EQ(r.Modules(0, 17, 17), ClusterPatterns[0][0]);
    EXPECT_EQ(r.Modules(1, 17, 17), ClusterPatterns[1][3 * 4 + 2]);
    EXPECT_EQ(r.Modules(2, 17, 17), ClusterPatterns[2][4]);
}

} // namespace
