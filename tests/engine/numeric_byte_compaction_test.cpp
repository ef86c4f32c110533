// Numeric and byte compaction: base-900 groups in place, and the room check.
#include "stage_input.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace trelvanic::test {
namespace {

using TCompaction = std::function<void(TPDF417Work&, int32_t, int32_t)>;

std::vector<int32_t> Compact(const TCompaction& compaction, const std::string& bytes) {
    TStageInput input(bytes);
    compaction(input.Work, 0, static_cast<int32_t>(bytes.size()));
    EXPECT_EQ(input.Param.ErrorCode, ecSuccess);
    return input.Written();
}

struct CompactionCase {
    const char* Name;
    std::string Bytes;
    std::vector<int32_t> Codewords;
};

TEST(NumericCompaction, WorkedExamples) {
    const CompactionCase cases[] = {
        {"15 digits with leading zeros", "000213298174000", {1, 624, 434, 632, 282, 200}},
        {"13 digits", "1234567890123", {17, 110, 836, 811, 223}},
        {"8 digits", "12345678", {138, 628, 478}},
        {"one digit", "7", {17}},
        {"44 nines",
         std::string(44, '9'),
         {874, 223, 532, 264, 888, 236, 358, 185, 93, 795, 72, 289, 146, 822, 199}},
        {"groups from the front: 44 nines, then a group of one",
         std::string(44, '9') + "7",
         {874, 223, 532, 264, 888, 236, 358, 185, 93, 795, 72, 289, 146, 822, 199, 17}},
    };
    for (const CompactionCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(Compact(PDF417NumericCompaction, c.Bytes), c.Codewords);
    }
}

// The decimal digits of a number written in base-900 codewords.
std::string Base900ToDecimal(const int32_t* codewords, int count) {
    std::vector<int> decimal{0}; // least significant first
    for (int i = 0; i < count; ++i) {
        int carry = codewords[i];
        for (int& digit : decimal) {
            const int value = digit * 900 + carry;
            digit = value % 10;
            carry = value / 10;
        }
        for (; carry > 0; carry /= 10)
            decimal.push_back(carry % 10);
    }
    std::string text;
    for (auto it = decimal.rbegin(); it != decimal.rend(); ++it)
        text += static_cast<char>('0' + *it);
    return text;
}

TEST(NumericCompaction, EveryLengthReadsBackAsOneFollowedByItsDigits) {
    std::mt19937 random(44);
    for (int length = 1; length <= 140; ++length) {
        std::string digits;
        for (int i = 0; i < length; ++i)
            digits += static_cast<char>('0' + random() % 10);
        if (length % 7 == 0) digits[0] = '0'; // leading zeros must survive
        SCOPED_TRACE(digits);
        const std::vector<int32_t> codewords = Compact(PDF417NumericCompaction, digits);
        std::size_t at = 0;
        for (int from = 0; from < length; from += 44) {
            const int groupDigits = std::min(44, length - from);
            const int groupCodewords = groupDigits / 3 + 1;
            ASSERT_LE(at + groupCodewords, codewords.size());
            EXPECT_LT(codewords[at], 900);
            EXPECT_GT(codewords[at], 0);
            EXPECT_EQ(Base900ToDecimal(&codewords[at], groupCodewords),
                      "1" + digits.substr(from, groupDigits));
            at += groupCodewords;
        }
        EXPECT_EQ(at, codewords.size());
    }
}

TEST(ByteCompaction, WorkedExamples) {
    const CompactionCase cases[] = {
        {"six ASCII bytes", "alcool", {163, 238, 432, 766, 244}},
        {"six 0xFF", std::string(6, '\xFF'), {429, 11, 71, 222, 855}},
        {"seven bytes: a group and a single",
         Bytes("^{C3}{D8}{C3}{DC}^|"),
         {158, 729, 9, 64, 654, 124}},
        {"twelve bytes: two groups",
         Bytes("{C4}{B3}{CA}{D0}{C8}{CB}{C3}{F1}{D5}{FE}{B8}{AE}"),
         {329, 575, 501, 67, 303, 328, 332, 761, 405, 586}},
        {"five bytes: singles only", Bytes("{CE}{DE}^{00}{FF}"), {206, 222, 94, 0, 255}},
    };
    for (const CompactionCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(Compact(PDF417ByteCompaction, c.Bytes), c.Codewords);
    }
}

TEST(ByteCompaction, EveryLengthReadsBackAsItsBytes) {
    std::mt19937 random(6);
    for (int length = 1; length <= 40; ++length) {
        std::string bytes;
        for (int i = 0; i < length; ++i)
            bytes += static_cast<char>(random() & 0xFF);
        SCOPED_TRACE(length);
        const std::vector<int32_t> codewords = Compact(PDF417ByteCompaction, bytes);
        ASSERT_EQ(codewords.size(), static_cast<std::size_t>(length / 6 * 5 + length % 6));
        std::string decoded;
        std::size_t at = 0;
        for (int group = 0; group < length / 6; ++group, at += 5) {
            uint64_t value = 0;
            for (int j = 0; j < 5; ++j) {
                ASSERT_LT(codewords[at + j], 900);
                value = value * 900 + static_cast<uint64_t>(codewords[at + j]);
            }
            for (int shift = 40; shift >= 0; shift -= 8)
                decoded += static_cast<char>((value >> shift) & 0xFF);
        }
        for (; at < codewords.size(); ++at)
            decoded += static_cast<char>(codewords[at]);
        EXPECT_EQ(decoded, bytes);
    }
}

struct RoomCase {
    const char* Name;
    TCompaction Compaction;
    std::string Bytes;
    int32_t CodewordPos;
    int32_t ErrorCode;
    int32_t CodewordPosAfter;
};

TEST(NumericAndByteCompaction, RoomIsCheckedBeforeAnyWrite) {
    const RoomCase cases[] = {
        {"2710 digits after a latch", PDF417NumericCompaction, std::string(2710, '5'), 2, ecSuccess,
         926},
        {"2711 digits after a latch", PDF417NumericCompaction, std::string(2711, '5'), 2,
         ecTextTooLong, 2},
        {"13 digits into the last five slots", PDF417NumericCompaction, "1234567890123", 921,
         ecSuccess, 926},
        {"13 digits, four slots left", PDF417NumericCompaction, "1234567890123", 922, ecTextTooLong,
         922},
        {"1108 bytes after a latch", PDF417ByteCompaction, std::string(1108, '\x80'), 2, ecSuccess,
         926},
        {"1109 bytes after a latch", PDF417ByteCompaction, std::string(1109, '\x80'), 2,
         ecTextTooLong, 2},
        {"a group into the last five slots", PDF417ByteCompaction, "alcool", 921, ecSuccess, 926},
        {"a group, four slots left", PDF417ByteCompaction, "alcool", 922, ecTextTooLong, 922},
    };
    for (const RoomCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TStageInput input(c.Bytes);
        input.Work.CodewordPos = c.CodewordPos;
        c.Compaction(input.Work, 0, static_cast<int32_t>(c.Bytes.size()));
        EXPECT_EQ(input.Param.ErrorCode, c.ErrorCode);
        EXPECT_EQ(input.Work.CodewordPos, c.CodewordPosAfter);
        if (c.ErrorCode != ecSuccess) {
            for (int32_t codeword : input.Param.Codewords)
                ASSERT_EQ(codeword, Untouched);
        }
    }
}

} // namespace
} // namespace trelvanic::test
