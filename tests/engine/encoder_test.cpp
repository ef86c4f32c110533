#include "pdf417.h"
#include "raw_codewords.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

using trelvanic::test::RawCodewordParam;

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double nan = std::numeric_limits<double>::quiet_NaN();

// Every field but ErrorCode (and DataLength, which a measured input may set).
void ExpectUnchangedExceptErrorCode(const TPDF417Param& before, const TPDF417Param& after) {
    EXPECT_EQ(after.RowBits, before.RowBits);
    EXPECT_EQ(after.RowBitsSize, before.RowBitsSize);
    EXPECT_EQ(after.RowWidth, before.RowWidth);
    EXPECT_EQ(after.Rows, before.Rows);
    EXPECT_EQ(after.Columns, before.Columns);
    EXPECT_EQ(0, std::memcmp(after.Codewords, before.Codewords, sizeof before.Codewords));
    EXPECT_EQ(after.CodewordCount, before.CodewordCount);
    EXPECT_EQ(after.ErrorLevel, before.ErrorLevel);
    EXPECT_EQ(after.Data, before.Data);
    EXPECT_EQ(after.Flags, before.Flags);
    EXPECT_EQ(0, std::memcmp(&after.AspectRatio, &before.AspectRatio, sizeof(double)));
    EXPECT_EQ(0, std::memcmp(&after.RowHeightRatio, &before.RowHeightRatio, sizeof(double)));
}

// What every successful encoding promises, whatever the path.
void ExpectConsistentSymbol(const TPDF417Param& p) {
    EXPECT_EQ(p.ErrorCode, ecSuccess);
    EXPECT_EQ(p.CodewordCount, p.Rows * p.Columns);
    EXPECT_EQ(p.RowWidth, 17 * p.Columns + 69);
    EXPECT_EQ(p.RowBitsSize, (p.RowWidth + 7) / 8 * p.Rows);
    EXPECT_NE(p.RowBits, nullptr);
    EXPECT_EQ(p.CodewordCount - p.Codewords[0], 2 << p.ErrorLevel);
}

TEST(Encoder, SizingTable) {
    constexpr uint32_t control = efAutoErrorLevel;
    struct Case {
        const char* Name;
        int32_t Count;
        uint32_t Flags;
        int32_t Columns, Rows, Level;
        double AspectRatio, RowHeightRatio;
        // expected
        int32_t ExpectedColumns, ExpectedRows, ExpectedLevel, Pad;
        double ExpectedAspectRatio;
    };
    // clang-format off
    const Case cases[] = {
        {"100 automatic", 100, control, 0, 0, 0, 0.5, 3.0, 5, 24, 3, 4, 0.5},
        {"10 automatic", 10, control, 0, 0, 0, 0.5, 3.0, 1, 18, 2, 0, 0.5},
        {"200 automatic", 200, control, 0, 0, 0, 0.5, 3.0, 7, 34, 4, 6, 0.5},
        {"900 automatic", 900, control, 0, 0, 0, 0.5, 3.0, 16, 58, 3, 12, 0.5},
        {"926 automatic", 926, control, 0, 0, 0, 0.5, 3.0, 16, 58, 0, 0, 0.5},
        {"AspectRatio 0.25", 100, control, 0, 0, 0, 0.25, 3.0, 8, 15, 3, 4, 0.25},
        {"AspectRatio 1", 100, control, 0, 0, 0, 1.0, 3.0, 3, 39, 3, 1, 1.0},
        {"AspectRatio 0", 100, control, 0, 0, 0, 0.0, 3.0, 30, 4, 3, 4, 0.001},
        {"level 0", 100, control | efUseErrorLevel, 0, 0, 0, 0.5, 3.0, 4, 26, 1, 0, 0.5},
        {"level 8", 100, control | efUseErrorLevel, 0, 0, 8, 0.5, 3.0, 13, 48, 8, 12, 0.5},
        {"fixed columns 7", 100, control | efFixedColumns, 7, 0, 0, 0.5, 3.0, 7, 17, 3, 3, 0.5},
        {"fixed columns 7, rows hit 90", 700, control | efFixedColumns, 7, 0, 0, 0.5, 3.0, 9, 90, 5, 46, 0.5},
        {"fixed rows 10", 100, control | efFixedRows, 0, 10, 0, 0.5, 3.0, 12, 10, 3, 4, 0.5},
        {"rectangle 10 x 20", 100, control | efFixedRectangle, 10, 20, 0, 0.5, 3.0, 10, 20, 5, 36, 0.5},
        {"rectangle 5 x 5, too small", 100, control | efFixedRectangle, 5, 5, 0, 0.5, 3.0, 5, 24, 3, 4, 0.5},
        {"rectangle 30 x 90", 100, control | efFixedRectangle, 30, 90, 0, 0.5, 3.0, 29, 32, 8, 316, 0.5},
        {"rectangle 20 x 90", 100, control | efFixedRectangle, 20, 90, 0, 0.5, 3.0, 16, 58, 8, 316, 0.5},
        // Out-of-range requests are clamped, never refused.
        {"level -3 acts as 0", 100, efUseErrorLevel, 0, 0, -3, 0.5, 3.0, 4, 26, 1, 0, 0.5},
        {"level 9 capped", 100, efUseErrorLevel, 0, 0, 9, 0.5, 3.0, 13, 48, 8, 12, 0.5},
        {"fixed columns 99 clamped to 30", 100, efFixedColumns, 99, 0, 0, 0.5, 3.0, 30, 4, 3, 4, 0.5},
        {"fixed rows 1 clamped to 3", 10, efFixedRows, 0, 1, 0, 0.5, 3.0, 6, 3, 2, 0, 0.5},
        // Derived dimensions meet their limits: rows at least 3, columns at most 30.
        {"derived rows raised to 3", 10, efFixedColumns, 30, 0, 0, 0.5, 3.0, 30, 3, 5, 16, 0.5},
        {"derived columns capped at 30", 100, efFixedRows, 0, 3, 0, 0.5, 3.0, 30, 4, 3, 4, 0.5},
        {"AspectRatio 5000", 100, 0, 0, 0, 0, 5000.0, 3.0, 2, 90, 5, 16, 1000.0},
        {"AspectRatio +inf", 100, 0, 0, 0, 0, inf, 3.0, 2, 90, 5, 16, 1000.0},
        {"AspectRatio -inf", 100, 0, 0, 0, 0, -inf, 3.0, 30, 4, 3, 4, 0.001},
        {"AspectRatio NaN", 100, 0, 0, 0, 0, nan, 3.0, 5, 24, 3, 4, 0.5},
        {"RowHeightRatio 0", 100, 0, 0, 0, 0, 0.5, 0.0, 5, 24, 3, 4, 0.5},
        {"RowHeightRatio -1", 100, 0, 0, 0, 0, 0.5, -1.0, 5, 24, 3, 4, 0.5},
        {"RowHeightRatio NaN", 100, 0, 0, 0, 0, 0.5, nan, 5, 24, 3, 4, 0.5},
        {"RowHeightRatio +inf", 100, 0, 0, 0, 0, 0.5, inf, 30, 4, 3, 4, 0.5},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TPDF417Param p = RawCodewordParam(c.Count, c.Flags);
        p.Columns = c.Columns;
        p.Rows = c.Rows;
        p.ErrorLevel = c.Level;
        p.AspectRatio = c.AspectRatio;
        p.RowHeightRatio = c.RowHeightRatio;
        const std::vector<int32_t> data(p.Codewords + 1, p.Codewords + c.Count);
        PDF417Encode(&p);

        ExpectConsistentSymbol(p);
        EXPECT_EQ(p.Columns, c.ExpectedColumns);
        EXPECT_EQ(p.Rows, c.ExpectedRows);
        EXPECT_EQ(p.ErrorLevel, c.ExpectedLevel);
        EXPECT_EQ(p.Codewords[0], c.Count + c.Pad);
        EXPECT_EQ(p.AspectRatio, c.ExpectedAspectRatio);
        EXPECT_EQ(std::vector<int32_t>(p.Codewords + 1, p.Codewords + c.Count), data);
        EXPECT_EQ(std::vector<int32_t>(p.Codewords + c.Count, p.Codewords + c.Count + c.Pad),
                  std::vector<int32_t>(static_cast<size_t>(c.Pad), PDF417PadCodeword));
        PDF417FreeParam(&p);
    }
}

// The automatic level is visible in the size it asks for: with one fixed
// column the rows are the data plus 2^(level+1) error-correction codewords,
// with 30 columns that need rounded up to whole rows.
TEST(Encoder, AutomaticLevelBoundaries) {
    struct Case {
        int32_t Count, Columns, Rows;
    };
    const Case cases[] = {{40, 1, 40 + 8},
                          {41, 1, 41 + 16},
                          {160, 30, (160 + 16 + 29) / 30},
                          {161, 30, (161 + 32 + 29) / 30},
                          {320, 30, (320 + 32 + 29) / 30},
                          {321, 30, (321 + 64 + 29) / 30}};
    for (const Case c : cases) {
        SCOPED_TRACE(::testing::Message() << c.Count << " codewords");
        TPDF417Param p = RawCodewordParam(c.Count, efFixedColumns);
        p.Columns = c.Columns;
        PDF417Encode(&p);
        ExpectConsistentSymbol(p);
        EXPECT_EQ(p.Rows, c.Rows);
        PDF417FreeParam(&p);
    }
}

TEST(Encoder, SingleDescriptorIsAValidRawInput) {
    TPDF417Param p = RawCodewordParam(1);
    PDF417Encode(&p);
    ExpectConsistentSymbol(p);
    PDF417FreeParam(&p);
}

TEST(Encoder, BadRawCodewordsAreRefusedAndChangeNothing) {
    struct Case {
        const char* Name;
        int32_t Count, Descriptor, BadIndex, BadValue;
    };
    const Case cases[] = {
        {"count 927", 927, 927, 0, 927},
        {"count 0", 0, 0, 0, 0},
        {"count -1", -1, -1, 0, -1},
        {"descriptor differs", 10, 11, 0, 11},
        {"value 929", 10, 10, 5, 929},
        {"value -1", 10, 10, 9, -1},
        {"value far out of range", 926, 926, 925, 1 << 30},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TPDF417Param p = RawCodewordParam(926, efFixedRectangle);
        p.CodewordCount = c.Count;
        p.Codewords[0] = c.Descriptor;
        p.Codewords[c.BadIndex] = c.BadValue;
        p.Rows = 7;
        p.Columns = 8;
        p.ErrorLevel = 4;
        const TPDF417Param before = p;
        PDF417Encode(&p);
        EXPECT_EQ(p.ErrorCode, ecBadRawCodewords);
        ExpectUnchangedExceptErrorCode(before, p);
    }
}

// The renderer has a pattern for 928 too, so the whole range is accepted.
TEST(Encoder, RawCodewordValuesUpTo928AreAccepted) {
    TPDF417Param p = RawCodewordParam(10);
    p.Codewords[3] = 928;
    p.Codewords[4] = 0;
    PDF417Encode(&p);
    ExpectConsistentSymbol(p);
    PDF417FreeParam(&p);
}

TEST(Encoder, InputLongerThan5420BytesIsRefusedBeforeCompaction) {
    const std::string text(5421, 'A');
    for (const int32_t length : {5421, -1}) {
        SCOPED_TRACE(::testing::Message() << "DataLength " << length);
        TPDF417Param p{};
        PDF417InitParam(&p);
        p.Data = reinterpret_cast<const uint8_t*>(text.c_str());
        p.DataLength = length;
        p.Rows = 5;
        p.Columns = 6;
        p.ErrorLevel = 7;
        p.CodewordCount = 123;
        const TPDF417Param before = p;
        PDF417Encode(&p);
        EXPECT_EQ(p.ErrorCode, ecTextTooLong);
        EXPECT_EQ(p.DataLength, 5421);
        ExpectUnchangedExceptErrorCode(before, p);
    }
}

// No 5420-byte input fits 926 codewords: it passes the length check and is
// refused by compaction, which may leave codewords behind but nothing else.
TEST(Encoder, InputsThatDoNotFitFailInCompactionAndKeepTheShape) {
    struct Case {
        const char* Name;
        std::string Text;
    };
    const Case cases[] = {
        {"5420 letters", std::string(5420, 'A')},
        {"5420 high bytes", std::string(5420, '\xC8')},
        {"1109 high bytes", std::string(1109, '\xC8')},
        {"2711 digits", std::string(2711, '7')},
        {"1851 letters", std::string(1851, 'Q')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TPDF417Param p{};
        PDF417InitParam(&p);
        p.Data = reinterpret_cast<const uint8_t*>(c.Text.c_str());
        p.Rows = 5;
        p.Columns = 6;
        p.ErrorLevel = 7;
        p.CodewordCount = 123;
        PDF417Encode(&p);
        EXPECT_EQ(p.ErrorCode, ecTextTooLong);
        EXPECT_EQ(p.DataLength, static_cast<int32_t>(c.Text.size()));
        EXPECT_EQ(p.RowBits, nullptr);
        EXPECT_EQ(p.Rows, 5);
        EXPECT_EQ(p.Columns, 6);
        EXPECT_EQ(p.ErrorLevel, 7);
        EXPECT_EQ(p.CodewordCount, 123);
    }
}

TEST(Encoder, MeasuredLengthStopsAtTheFirstZeroByte) {
    const uint8_t data[] = {'A', 'B', 'C', 0, 'D', 0};
    TPDF417Param p{};
    PDF417InitParam(&p);
    p.Data = data;
    PDF417Encode(&p);
    ExpectConsistentSymbol(p);
    EXPECT_EQ(p.DataLength, 3);
    PDF417FreeParam(&p);
}

// Empty input yields the length descriptor and padding alone, never a count
// left over from an earlier encoding of the same record.
TEST(Encoder, EmptyInputEncodesTheDescriptorAndPaddingAlone) {
    const uint8_t bytes[] = {'X', 'Y', 0};
    for (const int32_t length : {0, -1}) {
        SCOPED_TRACE(::testing::Message() << "DataLength " << length);
        TPDF417Param p{};
        PDF417InitParam(&p);
        p.Data = length == 0 ? bytes : bytes + 2;
        p.DataLength = length;
        p.CodewordCount = 500; // stale
        PDF417Encode(&p);
        ExpectConsistentSymbol(p);
        EXPECT_EQ(p.DataLength, 0);
        // One data codeword, the descriptor counting itself: a count of 0
        // would pass the checks above with a descriptor no reader accepts.
        EXPECT_EQ(p.Codewords[0], 1);
        EXPECT_EQ(p.Columns, 1);
        EXPECT_EQ(p.Rows, 9);
        EXPECT_EQ(p.ErrorLevel, 2);
        for (int32_t i = 1; i < p.Codewords[0]; ++i)
            EXPECT_EQ(p.Codewords[i], PDF417PadCodeword);
        PDF417FreeParam(&p);
    }
}

TEST(Encoder, FreeParamReleasesOnceAndKeepsTheResult) {
    TPDF417Param p = RawCodewordParam(100);
    PDF417Encode(&p);
    const TPDF417Param encoded = p;
    PDF417FreeParam(&p);
    EXPECT_EQ(p.RowBits, nullptr);
    PDF417FreeParam(&p);
    EXPECT_EQ(p.RowBits, nullptr);
    EXPECT_EQ(p.RowBitsSize, encoded.RowBitsSize);
    EXPECT_EQ(p.Rows, encoded.Rows);
    EXPECT_EQ(p.CodewordCount, encoded.CodewordCount);
}

} // namespace
