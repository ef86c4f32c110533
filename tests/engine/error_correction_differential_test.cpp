// The engine's error-correction division against the literal one, at every
// level, on seeded random codewords biased to the extreme values, with
// garbage in the slots that the division must overwrite.
#include "reference/error_correction_reference.h"

#include "pdf417_work.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

struct TDivision {
    int32_t Level;
    int32_t Count; // data codewords, descriptor and padding included
};

void ExpectSameErrorCorrection(const TDivision& division, std::mt19937& random) {
    const int32_t k = 2 << division.Level;
    TPDF417Param param{};
    PDF417InitParam(&param);
    param.ErrorLevel = division.Level;
    param.CodewordCount = division.Count;
    for (int32_t& codeword : param.Codewords) {
        const uint32_t pick = random() % 8;
        codeword = pick == 0 ? 0 : pick == 1 ? 928 : pick == 2 ? 900 : static_cast<int32_t>(random() % 929);
    }
    for (int32_t j = division.Count; j < PDF417MaxCodewords; ++j)
        param.Codewords[j] = static_cast<int32_t>(random()); // garbage, any value
    const std::vector<int32_t> data(param.Codewords, param.Codewords + division.Count);
    const std::vector<int32_t> expected =
        reference::ErrorCorrection(data.data(), division.Count, division.Level);

    TPDF417Work work{0, 0, &param};
    PDF417ComputeErrorCorrection(work, division.Count);

    EXPECT_EQ(std::vector<int32_t>(param.Codewords, param.Codewords + division.Count), data);
    EXPECT_EQ(std::vector<int32_t>(param.Codewords + division.Count,
                                   param.Codewords + division.Count + k),
              expected);
    EXPECT_EQ(param.CodewordCount, division.Count);
}

} // namespace

TEST(ErrorCorrectionDifferential, MatchesTheLiteralDivisionAtEveryLevel) {
    std::mt19937 random(929);
    for (int round = 0; round < 2000; ++round) {
        const int32_t level = round < 900 ? round % 9 : 6 + static_cast<int32_t>(random() % 3);
        const int32_t room = PDF417MaxCodewords - (2 << level);
        // Half of the rounds fill the symbol, where the division is longest.
        const int32_t count =
            random() % 2 ? room : 1 + static_cast<int32_t>(random() % static_cast<uint32_t>(room));
        SCOPED_TRACE("level " + std::to_string(level) + ", " + std::to_string(count) +
                     " codewords");
        ExpectSameErrorCorrection({level, count}, random);
        if (HasFailure())
            return;
    }
}

TEST(ErrorCorrectionDifferential, MatchesTheLiteralDivisionOnUniformData) {
    for (const int32_t value : {0, 1, 900, 928}) {
        for (int32_t level = 0; level <= PDF417MaxErrorLevelValue; ++level) {
            SCOPED_TRACE("all " + std::to_string(value) + ", level " + std::to_string(level));
            const int32_t count = PDF417MaxCodewords - (2 << level);
            TPDF417Param param{};
            PDF417InitParam(&param);
            param.ErrorLevel = level;
            param.CodewordCount = count;
            std::fill(param.Codewords, param.Codewords + PDF417MaxCodewords, value);
            const std::vector<int32_t> expected =
                reference::ErrorCorrection(param.Codewords, count, level);
            TPDF417Work work{0, 0, &param};
            PDF417ComputeErrorCorrection(work, count);
            EXPECT_EQ(std::vector<int32_t>(param.Codewords + count, param.Codewords + PDF417MaxCodewords),
                      expected);
        }
    }
}
