// Tables derived at compile time from the generator coefficients, for the two
// ways PDF417ComputeErrorCorrection divides: by sums of precomputed remainders
// of powers (levels 0 to 3), and by the standard's register division in
// 16-bit lanes (levels 4 to 8).
#pragma once

#include "error_correction_coefficients.h"
#include "pdf417_work.h"

#include <cstdint>

// 16-bit lanes of a 128-bit vector: both divisions run in blocks of this many
// values, which the compiler turns into vector instructions.
inline constexpr int32_t ErrorCorrectionLanes = 8;

// Levels below this one are summed from remainders of powers.
inline constexpr int32_t PowerSumLevels = 4;

// The remainders of powers: row m of level L holds x^(m+k) mod g(x), the
// contribution of a data codeword that stands m places before the end of the
// data. The rows that a level can meet are those of 928 - k data codewords.
// Each of the k columns (one remainder coefficient, highest power first)
// lists its rows from the highest m down, so the data meet it in their own
// order, and ends in zeros so that the data can be read in whole blocks.
constexpr int32_t PowerSumRows(int32_t level) {
    return PDF417MaxCodewords - ErrorCorrectionCodewordsOfLevel(level);
}

constexpr int32_t PowerSumColumnLength(int32_t level) {
    return PowerSumRows(level) + ErrorCorrectionLanes;
}

constexpr int32_t PowerSumTableOffset(int32_t level) {
    int32_t offset = 0;
    for (int32_t l = 0; l < level; ++l)
        offset += ErrorCorrectionCodewordsOfLevel(l) * PowerSumColumnLength(l);
    return offset;
}

struct TPowerSumTable {
    int16_t Values[PowerSumTableOffset(PowerSumLevels)];
};

// The coefficients of level 4 and up in the order the register meets them
// (a_(k-1) first), each beside its Shoup quotient floor(a * 2^16 / 929): then
// t * a - ((t * quotient) >> 16) * 929 is t * a mod 929 or that plus 929, with
// only 16-bit multiplies.
constexpr int32_t DivisionTableOffset(int32_t level) {
    int32_t offset = 0;
    for (int32_t l = PowerSumLevels; l < level; ++l)
        offset += ErrorCorrectionCodewordsOfLevel(l);
    return offset;
}

struct TDivisionTable {
    uint16_t Coefficient[DivisionTableOffset(PDF417MaxErrorLevelValue + 1)];
    uint16_t Quotient[DivisionTableOffset(PDF417MaxErrorLevelValue + 1)];
};

static_assert(ErrorCorrectionCodewordsOfLevel(PowerSumLevels) % ErrorCorrectionLanes == 0,
              "the division runs in whole blocks of lanes");

namespace error_correction_detail {

constexpr TPowerSumTable ComputePowerSums() {
    TPowerSumTable table{};
    for (int32_t level = 0; level < PowerSumLevels; ++level) {
        const int32_t k = ErrorCorrectionCodewordsOfLevel(level);
        const std::span<const int32_t> a = ErrorCorrectionCoefficientsOf(level);
        // x^k mod g(x) = -(a_(k-1) x^(k-1) + .. + a_0), lowest power first.
        int32_t power[ErrorCorrectionCodewordsOfLevel(PowerSumLevels - 1)] = {};
        for (int32_t i = 0; i < k; ++i)
            power[i] = (GaloisPrime - a[i]) % GaloisPrime;
        const int32_t rows = PowerSumRows(level);
        const int32_t columnLength = PowerSumColumnLength(level);
        int16_t* const columns = table.Values + PowerSumTableOffset(level);
        for (int32_t m = 0; m < rows; ++m) {
            for (int32_t j = 0; j < k; ++j)
                columns[j * columnLength + rows - 1 - m] = static_cast<int16_t>(power[k - 1 - j]);
            // Times x: the top coefficient moves up to x^k, which is -(a_(k-1) x^(k-1) + ..).
            const int32_t top = power[k - 1];
            for (int32_t i = k - 1; i >= 1; --i)
                power[i] = (power[i - 1] + top * (GaloisPrime - a[i])) % GaloisPrime;
            power[0] = top * (GaloisPrime - a[0]) % GaloisPrime;
        }
    }
    return table;
}

constexpr TDivisionTable ComputeDivisionTable() {
    TDivisionTable table{};
    for (int32_t level = PowerSumLevels; level <= PDF417MaxErrorLevelValue; ++level) {
        const std::span<const int32_t> a = ErrorCorrectionCoefficientsOf(level);
        const int32_t k = ErrorCorrectionCodewordsOfLevel(level);
        for (int32_t j = 0; j < k; ++j) {
            const int32_t coefficient = a[k - 1 - j];
            table.Coefficient[DivisionTableOffset(level) + j] = static_cast<uint16_t>(coefficient);
            table.Quotient[DivisionTableOffset(level) + j] =
                static_cast<uint16_t>(coefficient * 65536 / GaloisPrime);
        }
    }
    return table;
}

} // namespace error_correction_detail

inline constexpr TPowerSumTable PowerSums = error_correction_detail::ComputePowerSums();
inline constexpr TDivisionTable DivisionTable = error_correction_detail::ComputeDivisionTable();
