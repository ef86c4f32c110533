// The engine's segmentation against the literal merge rules (restart at the
// first run after every merge), on seeded random inputs built from the
// pieces that the thresholds turn on, and on the inputs with the most merges.
#include "reference/segmentation_reference.h"
#include "stage_input.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using trelvanic::test::Bytes;
using trelvanic::test::TRunList;
using trelvanic::test::TStageInput;

namespace {

std::vector<reference::TRun> EngineRuns(const std::string& bytes) {
    TStageInput input(bytes);
    TRunList runs;
    PDF417BuildSegments(input.Work, runs.List);
    std::vector<reference::TRun> result;
    for (int32_t i = 0; i < runs.List.Count; ++i) {
        const TPDF417Segment& run = runs.List.Items[i];
        result.push_back({run.Kind, run.Start, run.End});
    }
    return result;
}

std::vector<reference::TRun> LiteralRuns(const std::string& bytes) {
    return reference::TSegmentation(reinterpret_cast<const uint8_t*>(bytes.data()),
                                    static_cast<int32_t>(bytes.size()))
        .Runs;
}

std::string Describe(const std::vector<reference::TRun>& runs) {
    std::string text;
    for (const reference::TRun& run : runs)
        text += run.Kind + ("[" + std::to_string(run.Start) + "," + std::to_string(run.End) + ") ");
    return text;
}

std::string Hex(const std::string& bytes) {
    std::string text;
    for (unsigned char byte : bytes) {
        constexpr char digits[] = "0123456789ABCDEF";
        text += digits[byte >> 4];
        text += digits[byte & 15];
    }
    return text;
}

// Inputs made of the pieces whose lengths sit at the thresholds: digit runs
// around 13 (and 8 for a lone digit text), text runs around 5 and 3, single
// non-text bytes, short byte runs, stretches alternating every byte, and
// GBK pairs between carets as in a document record.
class TBiasedInputs {
public:
    explicit TBiasedInputs(uint32_t seed) : Random(seed) {}

    std::string Next() {
        const int32_t pick = Below(100);
        const int32_t target = pick < 70 ? Below(40) : pick < 99 ? Below(400) : Below(5421);
        std::string bytes;
        while (static_cast<int32_t>(bytes.size()) < target)
            AppendPiece(bytes);
        bytes.resize(static_cast<size_t>(target));
        return bytes;
    }

private:
    std::mt19937 Random;

    int32_t Below(int32_t n) { return static_cast<int32_t>(Random() % static_cast<uint32_t>(n)); }

    char Digit() { return static_cast<char>('0' + Below(10)); }
    char Letter() {
        constexpr char text[] = "ABCXYZabcxyz ,.^|-\r\n\t";
        return text[Below(sizeof text - 1)];
    }
    char NonText() {
        constexpr unsigned char bytes[] = {0x00, 0x01, 0x08, 0x0B, 0x1F, 0x7F, 0x80, 0xCE, 0xFF};
        return static_cast<char>(bytes[Below(sizeof bytes)]);
    }

    void AppendPiece(std::string& bytes) {
        switch (Below(7)) {
        case 0: // digits at the numeric thresholds
            for (int32_t n = Below(100) < 80 ? 7 + Below(9) : 1 + Below(50); n > 0; --n)
                bytes += Digit();
            break;
        case 1: // text around the absorbing and bridging lengths
            for (int32_t n = 1 + Below(7); n > 0; --n)
                bytes += Letter();
            break;
        case 2:
            bytes += NonText();
            break;
        case 3:
            for (int32_t n = 2 + Below(3); n > 0; --n)
                bytes += NonText();
            break;
        case 4: // every byte a run of its own
            for (int32_t n = 2 + Below(40); n > 0; --n)
                bytes += n % 2 ? Letter() : NonText();
            break;
        case 5:
            bytes += "^\xCE\xDE";
            break;
        default:
            bytes += Letter();
            bytes += Digit();
            break;
        }
    }
};

void ExpectSameRuns(const std::string& bytes) {
    const std::vector<reference::TRun> expected = LiteralRuns(bytes);
    const std::vector<reference::TRun> actual = EngineRuns(bytes);
    ASSERT_EQ(actual, expected) << "input " << Hex(bytes) << "\n engine  " << Describe(actual)
                                << "\n literal " << Describe(expected);
}

} // namespace

TEST(SegmentationDifferential, MatchesTheLiteralRulesOnBiasedRandomInputs) {
    for (uint32_t seed = 1; seed <= 4; ++seed) {
        TBiasedInputs inputs(seed);
        for (int round = 0; round < 5000; ++round) {
            SCOPED_TRACE("seed " + std::to_string(seed) + " round " + std::to_string(round));
            ExpectSameRuns(inputs.Next());
            if (HasFatalFailure())
                return;
        }
    }
}

// Where the order of merges matters most: long chains in which every merge
// makes the run before it qualify, and restarts that rescan a long stable
// prefix before they reach the next merge.
TEST(SegmentationDifferential, MatchesTheLiteralRulesOnMergeChains) {
    const auto repeat = [](const std::string& piece, size_t length) {
        std::string bytes;
        while (bytes.size() < length)
            bytes += piece;
        bytes.resize(length);
        return bytes;
    };
    struct TCase {
        const char* Name;
        std::string Bytes;
    };
    const TCase cases[] = {
        {"alternating text and non-text, 5420 runs", repeat(Bytes("A{80}"), 5420)},
        {"bridges that each enable the one before",
         repeat(Bytes("A{01}"), 2000) + "AB"},
        {"bridges that each enable the one after", "AB" + repeat(Bytes("{01}A"), 2000)},
        {"stable prefix, then a byte run eating short text",
         repeat(Bytes("ABCDE{80}{81}"), 2709) + repeat(Bytes("A{80}"), 2710)},
        {"long text swallowing single bytes on both sides",
         repeat(Bytes("A{80}"), 1000) + "ABCDE" + repeat(Bytes("{80}A"), 1000)},
        {"long texts chained by single bytes", repeat(Bytes("ABCDE{80}"), 900)},
        {"numeric runs stopping every spread",
         repeat(Bytes("A{80}1234567890123{80}"), 5420)},
        {"one lone digit text", std::string(5420, '7')},
        {"document record", Bytes("GB0626-2005^0001^{CE}{DE}^{CE}{DE}^1^20240115^^|")},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        ExpectSameRuns(c.Bytes);
    }
}
