// Codeword assembly: mode latches in front of the runs, and the stop at the
// first run that does not fit.
#include "stage_input.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace trelvanic::test {
namespace {

// Segments and assembles the input as the driver does.
struct TAssembled {
    TStageInput Input;
    TRunList Runs;

    explicit TAssembled(std::string bytes) : Input(std::move(bytes)) {
        PDF417BuildSegments(Input.Work, Runs.List);
        PDF417AssembleCodewords(Input.Work, Runs.List);
    }
};

struct AssemblyCase {
    const char* Name;
    const char* Bytes;
    const char* Runs;
    std::vector<int32_t> Codewords; // from index 1 on
};

TEST(AssembleCodewords, WorkedExamples) {
    const AssemblyCase cases[] = {
        {"record with numeric",
         "GB0626-2005^1234567890123^ABC^|",
         "T[0,12) N[12,25) T[25,31)",
         {181, 840, 182, 196, 60, 5, 749, 902, 17, 110, 836, 811, 223, 900, 864, 840, 32, 864,
          891}},
        {"record ending in GBK",
         "GB0626-2005^1234567890123^{C3}{D8}{C3}{DC}^|",
         "T[0,12) N[12,25) B[25,32)",
         {181, 840, 182, 196, 60,  5,   749, 902, 17,  110,
          836, 811, 223, 901, 158, 729, 9,   64,  654, 124}},
        {"record with GBK values",
         "GB0626-2005^0001^{CE}{DE}^{CE}{DE}^1^20240115^^|",
         "T[0,17) B[17,22) T[22,36)",
         {181, 840, 182, 196, 60,  5,  720, 0,  54, 901, 206, 222,
          94,  206, 222, 900, 864, 54, 60,  64, 1,  35,  744, 891}},
        {"one GBK value", "{CE}{DE}", "B[0,2)", {901, 206, 222}},
        {"twelve GBK bytes",
         "{C4}{B3}{CA}{D0}{C8}{CB}{C3}{F1}{D5}{FE}{B8}{AE}",
         "B[0,12)",
         {924, 329, 575, 501, 67, 303, 328, 332, 761, 405, 586}},
        {"short text inside a byte run", "A{01}B", "B[0,3)", {901, 65, 1, 66}},
        {"lone digits", "12345678", "N[0,8)", {902, 138, 628, 478}},
        {"numeric, text, numeric",
         "1234567890123X1234567890123",
         "N[0,13) T[13,14) N[14,27)",
         {902, 17, 110, 836, 811, 223, 900, 719, 902, 17, 110, 836, 811, 223}},
    };
    for (const AssemblyCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TAssembled assembled(Bytes(c.Bytes));
        EXPECT_EQ(DescribeRuns(assembled.Runs.List), c.Runs);
        EXPECT_EQ(assembled.Input.Param.ErrorCode, ecSuccess);
        EXPECT_EQ(assembled.Input.Written(), c.Codewords);
        EXPECT_EQ(assembled.Input.Work.CodewordPos, 1 + static_cast<int32_t>(c.Codewords.size()));
        EXPECT_EQ(assembled.Input.Param.Codewords[0], Untouched)
            << "the descriptor is the driver's";
    }
}

TEST(AssembleCodewords, EmptyListWritesNothing) {
    TStageInput input("");
    input.Work.CodewordPos = 77;
    TRunList runs;
    PDF417AssembleCodewords(input.Work, runs.List);
    EXPECT_EQ(input.Work.CodewordPos, 77);
    EXPECT_EQ(input.Param.ErrorCode, ecSuccess);
    for (int32_t codeword : input.Param.Codewords)
        ASSERT_EQ(codeword, Untouched);
}

TEST(AssembleCodewords, ByteLatchFollowsTheLengthModuloSix) {
    const struct {
        int Length;
        int32_t Latch;
    } cases[] = {{5, 901}, {6, 924}, {7, 901}, {12, 924}, {1104, 924}, {1108, 901}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Length);
        TAssembled assembled(std::string(c.Length, '\x80'));
        EXPECT_EQ(assembled.Input.Param.ErrorCode, ecSuccess);
        EXPECT_EQ(assembled.Input.Param.Codewords[1], c.Latch);
    }
}

struct LimitCase {
    const char* Name;
    std::string Bytes;
    int32_t ErrorCode;
    int32_t CodewordPos;
    std::vector<int32_t> Head; // what stands from index 1 on (all of it after a failure)
};

TEST(AssembleCodewords, LargestInputsFitAndOneMoreFails) {
    const LimitCase cases[] = {
        {"1108 bytes", std::string(1108, '\xC8'), ecSuccess, 926, {901}},
        {"1109 bytes", std::string(1109, '\xC8'), ecTextTooLong, 2, {901}},
        {"2710 digits", std::string(2710, '3'), ecSuccess, 926, {902}},
        {"2711 digits", std::string(2711, '3'), ecTextTooLong, 2, {902}},
        {"1850 letters", std::string(1850, 'Q'), ecSuccess, 926, {16 * 30 + 16}},
        {"1851 letters", std::string(1851, 'Q'), ecTextTooLong, 1, {}},
    };
    for (const LimitCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TAssembled assembled(c.Bytes);
        const TPDF417Param& param = assembled.Input.Param;
        EXPECT_EQ(param.ErrorCode, c.ErrorCode);
        EXPECT_EQ(assembled.Input.Work.CodewordPos, c.CodewordPos);
        const std::vector<int32_t> written = assembled.Input.Written();
        ASSERT_GE(written.size(), c.Head.size());
        EXPECT_EQ(std::vector<int32_t>(written.begin(), written.begin() + c.Head.size()), c.Head);
        if (c.ErrorCode == ecSuccess) continue;
        for (int32_t i = c.CodewordPos; i < PDF417MaxCodewords; ++i)
            ASSERT_EQ(param.Codewords[i], Untouched) << "index " << i;
    }
}

TEST(AssembleCodewords, OverflowInALaterRunStopsThere) {
    const struct {
        const char* Name;
        std::string Bytes;
        const char* Runs;
        int32_t CodewordPos; // after the latch of the run that did not fit
        int32_t Latch;
    } cases[] = {
        {"byte run after text", "ABCDE" + std::string(1109, '\x80') + "FGHIJ",
         "T[0,5) B[5,1114) T[1114,1119)", 5, 901},
        {"text run after bytes", std::string(1104, '\x80') + "ABCDEFGHIJ1234567890123",
         "B[0,1104) T[1104,1114) N[1114,1127)", 923, 900},
        {"numeric run after bytes", std::string(1104, '\x80') + std::string(20, '1') + "ABCDE",
         "B[0,1104) N[1104,1124) T[1124,1129)", 923, 902},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TAssembled assembled(c.Bytes);
        const TPDF417Param& param = assembled.Input.Param;
        EXPECT_EQ(DescribeRuns(assembled.Runs.List), c.Runs);
        EXPECT_EQ(param.ErrorCode, ecTextTooLong);
        EXPECT_EQ(assembled.Input.Work.CodewordPos, c.CodewordPos);
        EXPECT_EQ(param.Codewords[c.CodewordPos - 1], c.Latch);
        // The earlier runs stay; nothing of the failed run or the runs behind it.
        for (int32_t i = 1; i < c.CodewordPos; ++i)
            ASSERT_NE(param.Codewords[i], Untouched) << "index " << i;
        for (int32_t i = c.CodewordPos; i < PDF417MaxCodewords; ++i)
            ASSERT_EQ(param.Codewords[i], Untouched) << "index " << i;
    }
}

} // namespace
} // namespace trelvanic::test
