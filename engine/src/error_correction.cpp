// Reed-Solomon error-correction codewords over GF(929).
#include "error_correction_coefficients.h"
#include "pdf417_work.h"

void PDF417ComputeErrorCorrection(TPDF417Work& work, int32_t start) {
    TPDF417Param& param = *work.Param;
    if (param.ErrorLevel < 0 || param.ErrorLevel > PDF417MaxErrorLevelValue) param.ErrorLevel = 0;
    const std::span<const int32_t> a = ErrorCorrectionCoefficientsOf(param.ErrorLevel);
    const auto k = static_cast<int32_t>(a.size());

    // The remainder register, highest order first, kept in place behind the data.
    int32_t* const e = param.Codewords + start;
    for (int32_t j = 0; j < k; ++j)
        e[j] = 0;

    for (int32_t i = 0; i < param.CodewordCount; ++i) {
        // Unreduced: at most 928 + 928, so t * a stays far below 2^31.
        const int32_t t = param.Codewords[i] + e[0];
        for (int32_t j = 0; j < k - 1; ++j)
            e[j] = (e[j + 1] + GaloisPrime - t * a[k - 1 - j] % GaloisPrime) % GaloisPrime;
        e[k - 1] = (GaloisPrime - t * a[0] % GaloisPrime) % GaloisPrime;
    }

    for (int32_t j = 0; j < k; ++j)
        e[j] = (GaloisPrime - e[j]) % GaloisPrime;
}
