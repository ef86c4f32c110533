// Reed-Solomon generator polynomial coefficients over GF(929), one array per
// error-correction level: the coefficient tables of ISO/IEC 15438, clause 5.10.2
// (error correction codeword generation) and its annex of coefficient tables.
//
// They are computed here at compile time from the definition
//   g(x) = (x - 3)(x - 3^2) ... (x - 3^k) mod 929,  k = 2 << level,
// so no hand-copied number can be wrong; the static_asserts below pin them to
// the published values.
#pragma once

#include <cstdint>
#include <span>

inline constexpr int32_t GaloisPrime = 929;
inline constexpr int32_t MaxErrorCorrectionCodewords = 512;

// Every level's coefficients, level 0 first; level L starts at (2 << L) - 2.
inline constexpr int32_t ErrorCorrectionCoefficientCount = 2 * MaxErrorCorrectionCodewords - 2;

namespace error_correction_detail {

struct TCoefficientTable {
    int32_t Values[ErrorCorrectionCoefficientCount];
};

// The generator of level L is the first 2 << L factors of the level 8 product, so
// one running product yields all nine, snapshotted whenever k reaches 2 << L.
// Plain arrays keep the evaluation within every compiler's constexpr step limit.
constexpr TCoefficientTable ComputeCoefficients() {
    TCoefficientTable table{};
    // product[m] is the coefficient of x^m; starts as the polynomial 1.
    int32_t product[MaxErrorCorrectionCodewords + 1] = {1};
    int32_t root = 1;
    int32_t offset = 0;
    for (int32_t k = 1; k <= MaxErrorCorrectionCodewords; ++k) {
        root = root * 3 % GaloisPrime;
        const int32_t minusRoot = GaloisPrime - root;
        // Multiply by (x - root): shift up one power and subtract root times the old.
        for (int32_t m = k; m >= 1; --m)
            product[m] = (product[m - 1] + minusRoot * product[m]) % GaloisPrime;
        product[0] = minusRoot * product[0] % GaloisPrime;
        if ((k & (k - 1)) == 0 && k >= 2) {
            for (int32_t m = 0; m < k; ++m)
                table.Values[offset + m] = product[m];
            offset += k;
        }
    }
    return table;
}

} // namespace error_correction_detail

inline constexpr error_correction_detail::TCoefficientTable ErrorCorrectionCoefficients =
    error_correction_detail::ComputeCoefficients();

// The k = 2 << level coefficients a_0 .. a_(k-1) of one level, lowest power first;
// the leading coefficient 1 is not stored.
constexpr std::span<const int32_t> ErrorCorrectionCoefficientsOf(int32_t level) {
    const auto k = static_cast<size_t>(2) << level;
    return std::span<const int32_t>(ErrorCorrectionCoefficients.Values).subspan(k - 2, k);
}

namespace error_correction_detail {

constexpr bool Starts(std::span<const int32_t> coefficients,
                      std::initializer_list<int32_t> values) {
    size_t i = 0;
    for (const int32_t value : values)
        if (coefficients[i++] != value) return false;
    return true;
}

constexpr bool Ends(std::span<const int32_t> coefficients, std::initializer_list<int32_t> values) {
    return Starts(coefficients.last(values.size()), values);
}

static_assert(Starts(ErrorCorrectionCoefficientsOf(0), {27, 917}));
static_assert(Starts(ErrorCorrectionCoefficientsOf(1), {522, 568, 723, 809}));
static_assert(Starts(ErrorCorrectionCoefficientsOf(2), {237, 308, 436, 284, 646, 653, 428, 379}));
static_assert(Starts(ErrorCorrectionCoefficientsOf(8), {352, 77, 373, 504}));
static_assert(Ends(ErrorCorrectionCoefficientsOf(8), {121, 303, 263}));

} // namespace error_correction_detail
