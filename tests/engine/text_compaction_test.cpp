// Text compaction: sub-mode values, latches and shifts, byte shifts, room.
#include "stage_input.h"
#include "text_classes.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace trelvanic::test {
namespace {

// Runs text compaction over the whole input, as one run starting at index 1.
std::vector<int32_t> Compact(const std::string& bytes) {
    TStageInput input(bytes);
    PDF417TextCompaction(input.Work, 0, static_cast<int32_t>(bytes.size()));
    EXPECT_EQ(input.Param.ErrorCode, ecSuccess);
    return input.Written();
}

struct TextCase {
    const char* Run;
    std::vector<int32_t> Codewords;
};

TEST(TextCompaction, WorkedExamples) {
    const TextCase cases[] = {
        {"A", {29}},
        {"ABC", {1, 89}},
        {"abc", {810, 32}},
        {"A B", {26, 59}},
        {"aBc", {810, 811, 89}},
        {"aBCDe", {810, 868, 32, 117, 149}},
        {"12ab", {841, 87, 1}},
        {"a1b", {810, 841, 811}},
        {"A;;B", {29, 29, 1}},
        {"a;;;b", {810, 865, 0, 29, 811}},
        {"1;;;2", {841, 750, 0, 898, 89}},
        {"A,B", {28, 418, 59}},
        {"A{0D}{0A}B", {28, 359, 478, 59}},
        {"A{80}B", {29, 913, 128, 59}},
        {"AB{80}", {1, 913, 128}},
        {"A;;;{80}", {28, 750, 0, 913, 128}},
        {"AB;;;{80}C", {1, 865, 0, 29, 913, 128, 89}},
        {"{80}", {913, 128}},
        {"{80}{81}", {913, 128, 913, 129}},
        {"^|", {864, 891}},
        {"^ABC^|", {864, 840, 32, 864, 891}},
        {"GB0626-2005^", {181, 840, 182, 196, 60, 5, 749}},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.Run);
        EXPECT_EQ(Compact(Bytes(c.Run)), c.Codewords);
    }
}

TEST(TextCompaction, LooksAheadOnlyInsideTheRun) {
    // In the data the semicolons are three in a row, which would latch to
    // punctuation; the runs end before the third, so each is sent with a shift.
    TStageInput atStart("A;;;");
    PDF417TextCompaction(atStart.Work, 0, 2);
    EXPECT_EQ(atStart.Written(), (std::vector<int32_t>{29, 29}));
    TStageInput inMiddle("a;;;");
    PDF417TextCompaction(inMiddle.Work, 1, 2);
    EXPECT_EQ(inMiddle.Written(), (std::vector<int32_t>{870, 870}));
}

// The sub-mode tables of the standard: a character's position is its value.
constexpr std::string_view AlphaTable = "ABCDEFGHIJKLMNOPQRSTUVWXYZ ";
constexpr std::string_view LowerTable = "abcdefghijklmnopqrstuvwxyz ";
constexpr std::string_view MixedTable = "0123456789&\r\t,:#-.$/+%*=^";
constexpr std::string_view PunctuationTable = ";<>@[\\]_`~!\r\t,:\n-.$/\"|*()?{}'";

TEST(TextClass, EveryByteHasTheStandardsValues) {
    struct Table {
        std::string_view Chars;
        uint32_t Bit;
    };
    const Table tables[] = {{AlphaTable, tcAlpha},
                            {LowerTable, tcLower},
                            {MixedTable, tcMixed},
                            {PunctuationTable, tcPunctuation}};
    for (int byte = 0; byte < 256; ++byte) {
        SCOPED_TRACE("byte " + std::to_string(byte));
        uint32_t expected = 0;
        for (const Table& table : tables) {
            const std::size_t at = table.Chars.find(static_cast<char>(byte));
            if (at != std::string_view::npos) expected |= table.Bit | static_cast<uint32_t>(at);
        }
        if (byte == ' ') expected |= tcMixed; // mixed gives space 26 behind its 25 characters
        if (expected == 0) expected = tcByte | static_cast<uint32_t>(byte);
        const uint8_t data[] = {static_cast<uint8_t>(byte)};
        EXPECT_EQ(PDF417TextClass(data, 1, 0), expected);
    }
    const uint8_t data[] = {'A', 'B'};
    EXPECT_EQ(PDF417TextClass(data, 1, 1), 0u) << "a position at the end of the run";
    EXPECT_EQ(PDF417TextClass(data, 1, 2), 0u) << "a position past the end of the run";
}

// Reads text compaction codewords back as a decoder does: latches hold, a
// shift covers one value, and a byte shift takes the place of a pending shift.
std::string DecodeText(const std::vector<int32_t>& codewords) {
    enum { Alpha, Lower, Mixed, Punctuation } mode = Alpha, shifted = Alpha;
    bool shift = false;
    std::string text;
    auto value = [&](int32_t v) {
        const auto current = shift ? shifted : mode;
        shift = false;
        auto shiftTo = [&](decltype(mode) to) {
            shifted = to;
            shift = true;
        };
        switch (current) {
        case Alpha:
            if (v <= 26)
                text += AlphaTable[v];
            else if (v == 27)
                mode = Lower;
            else if (v == 28)
                mode = Mixed;
            else
                shiftTo(Punctuation);
            break;
        case Lower:
            if (v <= 26)
                text += LowerTable[v];
            else if (v == 27)
                shiftTo(Alpha);
            else if (v == 28)
                mode = Mixed;
            else
                shiftTo(Punctuation);
            break;
        case Mixed:
            if (v < 25)
                text += MixedTable[v];
            else if (v == 25)
                mode = Punctuation;
            else if (v == 26)
                text += ' ';
            else if (v == 27)
                mode = Lower;
            else if (v == 28)
                mode = Alpha;
            else
                shiftTo(Punctuation);
            break;
        case Punctuation:
            if (v < 29)
                text += PunctuationTable[v];
            else
                mode = Alpha;
            break;
        }
    };
    for (std::size_t i = 0; i < codewords.size(); ++i) {
        if (codewords[i] == 913) {
            text += static_cast<char>(codewords.at(++i));
            shift = false;
            continue;
        }
        value(codewords[i] / 30);
        value(codewords[i] % 30);
    }
    return text;
}

TEST(TextCompaction, RandomRunsDecodeToTheirBytes) {
    // Alphabets that make the sub-modes change often, and one of every byte.
    const std::string alphabets[] = {
        Bytes("aA;1 {80}"), Bytes("aA;"),       Bytes(";|a{0A}"),
        Bytes("A;{80}"),    Bytes("a1,;B{FF}"), Bytes("aB ;:{0D}{0A}{09}"),
        std::string(),
    };
    std::mt19937 random(15438);
    for (const std::string& alphabet : alphabets) {
        for (int round = 0; round < 400; ++round) {
            const int length = std::uniform_int_distribution<int>(1, 120)(random);
            std::string run;
            for (int i = 0; i < length; ++i) {
                run += alphabet.empty() ? static_cast<char>(random() & 0xFF)
                                        : alphabet[random() % alphabet.size()];
            }
            SCOPED_TRACE(::testing::PrintToString(run));
            const std::vector<int32_t> codewords = Compact(run);
            ASSERT_EQ(DecodeText(codewords), run);
            // At most two values per byte: codewords, less the two of each
            // byte shift, never outnumber the bytes.
            int32_t byteShifts = 0;
            for (int32_t codeword : codewords)
                byteShifts += codeword == 913;
            ASSERT_LE(static_cast<int32_t>(codewords.size()) - byteShifts, length);
        }
    }
}

struct RoomCase {
    const char* Name;
    std::string Run;
    int32_t CodewordPos;
    int32_t ErrorCode;
    int32_t CodewordPosAfter;
};

TEST(TextCompaction, RoomIsCheckedBeforeAnyWrite) {
    const RoomCase cases[] = {
        {"two codewords into the last two slots", "ABC", 924, ecSuccess, 926},
        {"two codewords, one slot left", "ABC", 925, ecTextTooLong, 925},
        {"a byte shift needs two slots", Bytes("{80}"), 925, ecTextTooLong, 925},
        {"a run far too long to count", std::string(6000, 'A'), 1, ecTextTooLong, 1},
        {"the longest run of letters", std::string(1850, 'A'), 1, ecSuccess, 926},
        {"one letter more", std::string(1851, 'A'), 1, ecTextTooLong, 1},
    };
    for (const RoomCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TStageInput input(c.Run);
        input.Work.CodewordPos = c.CodewordPos;
        PDF417TextCompaction(input.Work, 0, static_cast<int32_t>(c.Run.size()));
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
