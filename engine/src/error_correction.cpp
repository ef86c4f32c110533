// Reed-Solomon error-correction codewords over GF(929).
#include "error_correction_tables.h"
#include "pdf417_work.h"

#include <algorithm>

namespace {

// Levels 0 to 3 have at most 16 error-correction codewords but up to 926 data
// codewords; divided codeword by codeword, every step would wait on the one
// before. The remainder is linear in the data, though: the sum of each data
// codeword times the remainder of its power, reduced once at the end. At most
// 926 products below 929 * 929 keep the sum under 2^31.
void SumPowers(const TPDF417Param& param, int32_t level, int32_t* out) {
    const int32_t n = param.CodewordCount;
    const int32_t blocks = (n + ErrorCorrectionLanes - 1) / ErrorCorrectionLanes;
    const int32_t values = blocks * ErrorCorrectionLanes;
    alignas(16) int16_t data[PDF417MaxCodewords + ErrorCorrectionLanes];
    for (int32_t i = 0; i < n; ++i)
        data[i] = static_cast<int16_t>(param.Codewords[i]);
    for (int32_t i = n; i < values; ++i)
        data[i] = 0;
    const int16_t* column = PowerSums.Values + PowerSumTableOffset(level) + PowerSumRows(level) - n;
    const int32_t length = PowerSumColumnLength(level);
    // Two columns a pass (k is even), so each block of data is loaded once for both.
    for (int32_t j = 0; j < ErrorCorrectionCodewordsOfLevel(level); j += 2, column += 2 * length) {
        const int16_t* next = column + length;
        int32_t sum = 0;
        int32_t nextSum = 0;
        for (int32_t i = 0; i < values; ++i) {
            sum += data[i] * column[i];
            nextSum += data[i] * next[i];
        }
        // The codewords carry the remainder negated.
        const int32_t remainder = sum % GaloisPrime;
        const int32_t nextRemainder = nextSum % GaloisPrime;
        out[j] = remainder == 0 ? 0 : GaloisPrime - remainder;
        out[j + 1] = nextRemainder == 0 ? 0 : GaloisPrime - nextRemainder;
    }
}

uint16_t ReduceOnce(uint16_t value, uint16_t modulus) {
    return std::min(value, static_cast<uint16_t>(value - modulus));
}

// Levels 4 to 8 divide codeword by codeword as the standard does, with the
// register cells in 16-bit lanes, eight at a time. The cells are kept below
// 2 * 929 rather than 929, which leaves t below 2^16, all that Shoup's product
// needs, and saves a reduction per cell and codeword.
void Divide(const TPDF417Param& param, int32_t level, int32_t* out) {
    constexpr uint16_t TwicePrime = 2 * GaloisPrime;
    const int32_t k = ErrorCorrectionCodewordsOfLevel(level);
    const uint16_t* const coefficient = DivisionTable.Coefficient + DivisionTableOffset(level);
    const uint16_t* const quotient = DivisionTable.Quotient + DivisionTableOffset(level);
    // The register, highest order first, and behind it one cell that stays 0.
    alignas(16) uint16_t e[MaxErrorCorrectionCodewords + ErrorCorrectionLanes];
    std::fill(e, e + k + 1, uint16_t{0});
    // A whole number of blocks, visibly so to the compiler.
    const uint32_t cells = static_cast<uint32_t>(k / ErrorCorrectionLanes) * ErrorCorrectionLanes;
    for (int32_t i = 0; i < param.CodewordCount; ++i) {
        const auto t = static_cast<uint16_t>(param.Codewords[i] + e[0]);
        for (uint32_t j = 0; j < cells; ++j) {
            const auto q = static_cast<uint16_t>((uint32_t{t} * quotient[j]) >> 16);
            // t * a mod 929, or that plus 929.
            const auto product = static_cast<uint16_t>(t * coefficient[j] - q * GaloisPrime);
            // e[j + 1] - product, made positive: 1 .. 2 * 2 * 929 - 1 before the reduction.
            e[j] = ReduceOnce(static_cast<uint16_t>(e[j + 1] + TwicePrime - product), TwicePrime);
        }
    }
    for (int32_t j = 0; j < k; ++j) {
        const uint16_t remainder = ReduceOnce(e[j], GaloisPrime);
        out[j] = remainder == 0 ? 0 : GaloisPrime - remainder;
    }
}

} // namespace

void PDF417ComputeErrorCorrection(TPDF417Work& work, int32_t start) {
    TPDF417Param& param = *work.Param;
    if (param.ErrorLevel < 0 || param.ErrorLevel > PDF417MaxErrorLevelValue) param.ErrorLevel = 0;
    if (param.ErrorLevel < PowerSumLevels)
        SumPowers(param, param.ErrorLevel, param.Codewords + start);
    else
        Divide(param, param.ErrorLevel, param.Codewords + start);
}
