// Segmentation into text, numeric and byte runs, and the run list it fills.
#include "stage_input.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace trelvanic::test {
namespace {

std::string Segment(const std::string& bytes) {
    TStageInput input(bytes);
    TRunList runs;
    PDF417BuildSegments(input.Work, runs.List);
    return DescribeRuns(runs.List);
}

TEST(SegmentList, GrowsByDoublingWithoutLosingEntries) {
    TRunList runs;
    EXPECT_EQ(runs.List.Capacity, 20);
    EXPECT_EQ(runs.List.Count, 0);
    const char kinds[] = {skText, skByte, skNumeric};
    for (int32_t i = 0; i < 161; ++i) {
        PDF417AddSegment(runs.List, kinds[i % 3], i * 10, i * 10 + 7);
        const int32_t expected = i < 20 ? 20 : i < 40 ? 40 : i < 80 ? 80 : i < 160 ? 160 : 320;
        ASSERT_EQ(runs.List.Capacity, expected) << "after " << i + 1 << " entries";
    }
    ASSERT_EQ(runs.List.Count, 161);
    for (int32_t i = 0; i < 161; ++i) {
        const TPDF417Segment* run = PDF417GetSegment(runs.List, i);
        ASSERT_NE(run, nullptr);
        EXPECT_EQ(run->Kind, kinds[i % 3]) << i;
        EXPECT_EQ(run->Start, i * 10) << i;
        EXPECT_EQ(run->End, i * 10 + 7) << i;
    }
    // The grown array is zero-filled behind the entries in use.
    for (int32_t i = 161; i < runs.List.Capacity; ++i) {
        const TPDF417Segment& spare = runs.List.Items[i];
        EXPECT_TRUE(spare.Kind == 0 && spare.Start == 0 && spare.End == 0) << i;
    }
}

TEST(SegmentList, DeleteClosesTheGapAndIgnoresBadIndices) {
    TRunList runs;
    for (int32_t i = 0; i < 5; ++i)
        PDF417AddSegment(runs.List, skText, i, i + 1);
    PDF417DeleteSegment(runs.List, -1);
    PDF417DeleteSegment(runs.List, 5);
    EXPECT_EQ(DescribeRuns(runs.List), "T[0,1) T[1,2) T[2,3) T[3,4) T[4,5)");
    PDF417DeleteSegment(runs.List, 1);
    EXPECT_EQ(DescribeRuns(runs.List), "T[0,1) T[2,3) T[3,4) T[4,5)");
    PDF417DeleteSegment(runs.List, 3);
    EXPECT_EQ(DescribeRuns(runs.List), "T[0,1) T[2,3) T[3,4)");
    EXPECT_EQ(runs.List.Capacity, 20);
}

TEST(SegmentList, MissingNeighboursAreNullAndNeverMatch) {
    TRunList runs;
    PDF417AddSegment(runs.List, skByte, 3, 7);
    EXPECT_EQ(PDF417GetSegment(runs.List, -1), nullptr);
    EXPECT_EQ(PDF417GetSegment(runs.List, 1), nullptr);
    EXPECT_FALSE(PDF417SegmentIsKind(nullptr, skText));
    EXPECT_EQ(PDF417SegmentLength(nullptr), 0);
    const TPDF417Segment* run = PDF417GetSegment(runs.List, 0);
    EXPECT_TRUE(PDF417SegmentIsKind(run, skByte));
    EXPECT_FALSE(PDF417SegmentIsKind(run, skText));
    EXPECT_EQ(PDF417SegmentLength(run), 4);
}

TEST(SegmentList, FreeReleasesTheItemsAndKeepsTheCounts) {
    TPDF417SegmentList list{};
    PDF417InitSegmentList(list);
    for (int32_t i = 0; i < 21; ++i)
        PDF417AddSegment(list, skText, i, i + 1);
    PDF417FreeSegmentList(list);
    EXPECT_EQ(list.Items, nullptr);
    EXPECT_EQ(list.Count, 21);
    EXPECT_EQ(list.Capacity, 40);
}

struct SegmentationCase {
    const char* Name;
    const char* Bytes;
    const char* Runs;
};

TEST(BuildSegments, WorkedExamples) {
    const SegmentationCase cases[] = {
        {"empty input", "", ""},
        {"record with numeric", "GB0626-2005^1234567890123^ABC^|", "T[0,12) N[12,25) T[25,31)"},
        {"13 digits", "1234567890123", "N[0,13)"},
        {"lone 12 digits", "123456789012", "N[0,12)"},
        {"lone 8 digits", "12345678", "N[0,8)"},
        {"lone 7 digits", "1234567", "T[0,7)"},
        {"12 digits and a letter", "123456789012A", "T[0,13)"},
        {"numeric at the end", "A1234567890123", "T[0,1) N[1,14)"},
        {"numeric at the start", "1234567890123AB", "N[0,13) T[13,15)"},
        {"numeric runs never merge", "1234567890123X1234567890123", "N[0,13) T[13,14) N[14,27)"},
        {"numeric inside text", "AB12345678901234CD", "T[0,2) N[2,16) T[16,18)"},
        {"bridged byte", "AB{01}CD", "T[0,5)"},
        {"bridged byte, 3 text bytes", "AB{01}C", "T[0,4)"},
        {"too little text to bridge", "A{01}B", "B[0,3)"},
        {"long text takes single bytes", "{01}ABCDE{02}", "T[0,7)"},
        {"long text keeps byte pairs", "ABCDE{01}{02}FGHIJ", "T[0,5) B[5,7) T[7,12)"},
        {"byte run takes 3 text bytes", "abc{CE}{DE}", "B[0,5)"},
        {"byte run takes 4 text bytes", "abcd{CE}{DE}", "B[0,6)"},
        {"5 text bytes stay text", "abcde{CE}{DE}", "T[0,5) B[5,7)"},
        {"bridge, then absorb", "abcde{01}fg{CE}{DE}h", "T[0,8) B[8,11)"},
        {"byte runs merge across short text", "{CE}{DE}AB{CE}{DE}", "B[0,6)"},
        {"numeric stops byte runs", "{CE}{DE}1234567890123{CE}{DE}", "B[0,2) N[2,15) B[15,17)"},
        {"record with GBK values", "GB0626-2005^0001^{CE}{DE}^{CE}{DE}^1^20240115^^|",
         "T[0,17) B[17,22) T[22,36)"},
        {"record ending in GBK", "GB0626-2005^1234567890123^{C3}{D8}{C3}{DC}^|",
         "T[0,12) N[12,25) B[25,32)"},
    };
    for (const SegmentationCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(Segment(Bytes(c.Bytes)), c.Runs);
    }
}

TEST(BuildSegments, ManyRunsGrowTheListAndKeepEveryRun) {
    std::string bytes;
    std::string expected;
    for (int i = 0; i < 100; ++i) {
        const int at = static_cast<int>(bytes.size());
        bytes += Bytes("ABCDE{01}{02}");
        expected += (i ? " T[" : "T[") + std::to_string(at) + ',' + std::to_string(at + 5) +
                    ") B[" + std::to_string(at + 5) + ',' + std::to_string(at + 7) + ')';
    }
    TStageInput input(bytes);
    TRunList runs;
    PDF417BuildSegments(input.Work, runs.List);
    EXPECT_EQ(runs.List.Capacity, 320);
    EXPECT_EQ(DescribeRuns(runs.List), expected);
}

TEST(BuildSegments, RebuildingStartsFromAnEmptyList) {
    TStageInput first(Bytes("ABC{CE}{DE}1234567890123"));
    TStageInput second("XYZ");
    TRunList runs;
    PDF417BuildSegments(first.Work, runs.List);
    PDF417BuildSegments(second.Work, runs.List);
    EXPECT_EQ(DescribeRuns(runs.List), "T[0,3)");
}

bool IsDigit(char byte) {
    return byte >= '0' && byte <= '9';
}

bool IsTextByte(char byte) {
    const auto b = static_cast<unsigned char>(byte);
    return (b >= 0x20 && b <= 0x7E) || b == '\t' || b == '\n' || b == '\r';
}

// What must hold for every input, whatever the merging did.
void ExpectRunInvariants(const std::string& bytes, const TPDF417SegmentList& list) {
    const int32_t length = static_cast<int32_t>(bytes.size());
    SCOPED_TRACE(DescribeRuns(list));
    if (length == 0) {
        EXPECT_EQ(list.Count, 0);
        return;
    }
    ASSERT_GT(list.Count, 0);
    EXPECT_EQ(list.Items[0].Start, 0);
    EXPECT_EQ(list.Items[list.Count - 1].End, length);
    for (int32_t i = 0; i < list.Count; ++i) {
        const TPDF417Segment& run = list.Items[i];
        ASSERT_LT(run.Start, run.End) << "run " << i;
        if (i > 0) {
            EXPECT_EQ(list.Items[i - 1].End, run.Start) << "run " << i;
            EXPECT_NE(list.Items[i - 1].Kind, run.Kind) << "run " << i;
        }
        switch (run.Kind) {
        case skNumeric: {
            for (int32_t j = run.Start; j < run.End; ++j)
                ASSERT_TRUE(IsDigit(bytes[j])) << j;
            // Numeric runs are whole digit runs: 13 digits or more, or the
            // lone all-digit input of 8 or more.
            EXPECT_TRUE(run.Start == 0 || !IsDigit(bytes[run.Start - 1])) << "run " << i;
            EXPECT_TRUE(run.End == length || !IsDigit(bytes[run.End])) << "run " << i;
            EXPECT_GE(run.End - run.Start, list.Count == 1 ? 8 : 13) << "run " << i;
            break;
        }
        case skText:
            // Merging lets in single non-text bytes only, never two in a row.
            for (int32_t j = run.Start + 1; j < run.End; ++j)
                EXPECT_TRUE(IsTextByte(bytes[j - 1]) || IsTextByte(bytes[j])) << j;
            break;
        case skByte:
            break;
        default:
            ADD_FAILURE() << "run " << i << " has kind " << int(run.Kind);
        }
    }
    // Every digit run of 13 or more is a numeric run of its own.
    int32_t digits = 0;
    for (int32_t j = 0; j <= length; ++j) {
        if (j < length && IsDigit(bytes[j])) {
            digits++;
            continue;
        }
        if (digits >= 13) {
            bool found = false;
            for (int32_t i = 0; i < list.Count; ++i)
                found = found || (list.Items[i].Kind == skNumeric &&
                                  list.Items[i].Start == j - digits && list.Items[i].End == j);
            EXPECT_TRUE(found) << "digits [" << j - digits << ',' << j << ')';
        }
        digits = 0;
    }
}

// Inputs built from the pieces that steer the merging: digit runs around the
// thresholds, short and long text, single control bytes and GBK pairs.
std::string RandomInput(std::mt19937& random, int maxPieces) {
    std::string bytes;
    const int pieces = std::uniform_int_distribution<int>(0, maxPieces)(random);
    auto pick = [&](int from, int to) {
        return std::uniform_int_distribution<int>(from, to)(random);
    };
    for (int p = 0; p < pieces; ++p) {
        switch (pick(0, 5)) {
        case 0:
            for (int n = pick(1, 16); n > 0; --n)
                bytes += static_cast<char>('0' + pick(0, 9));
            break;
        case 1:
            for (int n = pick(1, 7); n > 0; --n)
                bytes += static_cast<char>('A' + pick(0, 25));
            break;
        case 2:
            bytes += "^,;| \r\n\t"[pick(0, 7)];
            break;
        case 3:
            bytes += static_cast<char>(pick(0, 1) ? pick(0, 0x1F) : pick(0x7F, 0x80));
            break;
        case 4:
            bytes += static_cast<char>(pick(0x81, 0xFE));
            bytes += static_cast<char>(pick(0x40, 0xFE));
            break;
        default:
            bytes += static_cast<char>(pick(0, 255));
        }
    }
    if (bytes.size() > PDF417MaxDataLength) bytes.resize(PDF417MaxDataLength);
    return bytes;
}

TEST(BuildSegments, RunsCoverAnyInputWithoutGaps) {
    std::mt19937 random(20261211);
    for (int round = 0; round < 3000; ++round) {
        const std::string bytes = RandomInput(random, round < 2990 ? 60 : 2000);
        SCOPED_TRACE("round " + std::to_string(round));
        TStageInput input(bytes);
        TRunList runs;
        PDF417BuildSegments(input.Work, runs.List);
        ExpectRunInvariants(bytes, runs.List);
        if (HasFailure()) break; // one failing input is enough to read
    }
}

TEST(BuildSegments, LongestInputThatAlternatesEveryByte) {
    for (const char* pair : {"A{01}", "{01}A", "7{CE}"}) {
        SCOPED_TRACE(pair);
        std::string bytes;
        while (bytes.size() < PDF417MaxDataLength)
            bytes += Bytes(pair);
        TStageInput input(bytes);
        TRunList runs;
        PDF417BuildSegments(input.Work, runs.List);
        ExpectRunInvariants(bytes, runs.List);
    }
}

} // namespace
} // namespace trelvanic::test
