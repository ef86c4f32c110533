// Reed-Solomon error correction over GF(929) as the literal division: the
// generator built from its roots 3^1 .. 3^k, then one multiply-and-remainder
// per codeword and register cell. Kept only to prove the engine's fast
// division equal to it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace reference {

// a_0 .. a_(k-1) of g(x) = (x - 3)(x - 3^2) .. (x - 3^k) mod 929, the
// leading 1 not stored.
inline std::vector<int32_t> GeneratorCoefficients(int32_t k) {
    std::vector<int32_t> g(static_cast<std::size_t>(k) + 1, 0);
    g[0] = 1;
    int32_t root = 1;
    for (int32_t n = 1; n <= k; ++n) {
        root = root * 3 % 929;
        for (int32_t m = n; m >= 1; --m)
            g[m] = (g[m - 1] + (929 - root) * g[m]) % 929;
        g[0] = (929 - root) * g[0] % 929;
    }
    g.pop_back();
    return g;
}

// The k = 2 << level error-correction codewords of data[0 .. count - 1],
// in the order the symbol carries them.
inline std::vector<int32_t> ErrorCorrection(const int32_t* data, int32_t count, int32_t level) {
    const int32_t k = 2 << level;
    const std::vector<int32_t> a = GeneratorCoefficients(k);
    std::vector<int32_t> e(static_cast<std::size_t>(k), 0);
    for (int32_t i = 0; i < count; ++i) {
        const int32_t t = data[i] + e[0];
        for (int32_t j = 0; j < k; ++j) {
            const int32_t p = 929 - t * a[k - 1 - j] % 929;
            e[j] = (j < k - 1 ? e[j + 1] + p : p) % 929;
        }
    }
    for (int32_t& value : e)
        value = (929 - value) % 929;
    return e;
}

} // namespace reference
