#include "error_correction_coefficients.h"
#include "pdf417_work.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

struct ErrorCorrectionRun {
    TPDF417Param Param{};
    TPDF417Work Work{};

    ErrorCorrectionRun(const std::vector<int32_t>& data, int32_t level) {
        PDF417InitParam(&Param);
        for (int32_t& slot : Param.Codewords)
            slot = 777; // stale values from an earlier use
        for (size_t i = 0; i < data.size(); ++i)
            Param.Codewords[i] = data[i];
        Param.CodewordCount = static_cast<int32_t>(data.size());
        Param.ErrorLevel = level;
        Work.Param = &Param;
        PDF417ComputeErrorCorrection(Work, Param.CodewordCount);
    }

    std::vector<int32_t> Written(int32_t k) const {
        return {Param.Codewords + Param.CodewordCount, Param.Codewords + Param.CodewordCount + k};
    }
};

// c(x) = data·x^k + ec must vanish at every root 3^1 .. 3^k of the generator:
// a check of the codewords that shares nothing with the division.
bool IsCodeword(const int32_t* codewords, int32_t count, int32_t k) {
    int64_t root = 1;
    for (int32_t j = 1; j <= k; ++j) {
        root = root * 3 % GaloisPrime;
        int64_t value = 0;
        for (int32_t i = 0; i < count; ++i)
            value = (value * root + codewords[i]) % GaloisPrime;
        if (value != 0) return false;
    }
    return true;
}

TEST(ErrorCorrection, WorkedExamples) {
    struct Case {
        std::vector<int32_t> Data;
        int32_t Level;
        std::vector<int32_t> Expected;
    };
    const Case cases[] = {
        {{5, 453, 178, 121, 239}, 0, {471, 661}},
        {{5, 453, 178, 121, 239}, 1, {452, 327, 657, 619}},
        {{4, 1, 2, 3}, 0, {322, 687}},
        {{0, 0, 0, 0, 0, 0}, 3, std::vector<int32_t>(16, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "level " << c.Level << ", " << c.Data.size() << " codewords");
        const ErrorCorrectionRun run(c.Data, c.Level);
        EXPECT_EQ(run.Written(static_cast<int32_t>(c.Expected.size())), c.Expected);
        EXPECT_EQ(run.Param.CodewordCount, static_cast<int32_t>(c.Data.size()));
    }
}

TEST(ErrorCorrection, EveryLevelYieldsAValidReedSolomonCodeword) {
    std::mt19937 random(15438);
    for (int32_t level = 0; level <= 8; ++level) {
        SCOPED_TRACE(::testing::Message() << "level " << level);
        const int32_t k = 2 << level;
        // The largest data that leave room for this level, values across 0..928.
        std::vector<int32_t> data(static_cast<size_t>(PDF417MaxCodewords - k));
        for (int32_t& d : data)
            d = static_cast<int32_t>(random() % 929);
        data[0] = static_cast<int32_t>(data.size());
        const ErrorCorrectionRun run(data, level);
        EXPECT_TRUE(IsCodeword(run.Param.Codewords, PDF417MaxCodewords, k));
        EXPECT_EQ(run.Param.ErrorLevel, level);
    }
}

TEST(ErrorCorrection, LevelEightFillsTheArrayToItsLastSlot) {
    std::vector<int32_t> data(416, 899);
    data[0] = 416;
    const ErrorCorrectionRun run(data, 8);
    // The slots held 777 before; a valid codeword proves all 512 were written.
    EXPECT_TRUE(IsCodeword(run.Param.Codewords, 928, 512));
    EXPECT_EQ(run.Param.CodewordCount, 416);
}

TEST(ErrorCorrection, LevelOutOfRangeBecomesZeroAndWritesTwoCodewords) {
    for (const int32_t level : {-1, 9, 100}) {
        SCOPED_TRACE(::testing::Message() << "level " << level);
        const ErrorCorrectionRun run({5, 453, 178, 121, 239}, level);
        EXPECT_EQ(run.Param.ErrorLevel, 0);
        EXPECT_EQ(run.Written(3), (std::vector<int32_t>{471, 661, 777}));
    }
}

} // namespace
