// Numeric compaction (ISO/IEC 15438, Numeric Compaction mode): groups of up to 44 digits,
// each with a leading 1, converted to base 900 in the codeword slots.
#include "compaction_modes.h"
#include "pdf417_work.h"

namespace {

constexpr int32_t DigitsPerGroup = 44;

// 1 followed by n digits has exactly n div 3 + 1 base-900 digits.
constexpr int32_t GroupCodewords(int32_t digits) {
    return digits / 3 + 1;
}

} // namespace

void PDF417NumericCompaction(TPDF417Work& work, int32_t start, int32_t count) {
    const int32_t rest = count % DigitsPerGroup;
    const int32_t need = count / DigitsPerGroup * GroupCodewords(DigitsPerGroup) +
                         (rest != 0 ? GroupCodewords(rest) : 0);
    if (work.CodewordPos + need > PDF417MaxDataCodewords) {
        work.Param->ErrorCode = ecTextTooLong;
        return;
    }
    for (int32_t pos = start; pos < start + count; pos += DigitsPerGroup) {
        const int32_t left = start + count - pos;
        PDF417NumericGroup(work, pos, left < DigitsPerGroup ? left : DigitsPerGroup);
    }
}

void PDF417NumericGroup(TPDF417Work& work, int32_t start, int32_t n) {
    // The first slot ends in 1..899, and no slot exceeds 8999 on the way.
    int32_t* slots = &work.Param->Codewords[work.CodewordPos];
    const int32_t k = n / 3;
    work.CodewordPos += k + 1;
    for (int32_t j = 0; j < k; ++j)
        slots[j] = 0;
    slots[k] = 1;
    for (int32_t i = start; i < start + n; ++i) {
        for (int32_t j = 0; j <= k; ++j)
            slots[j] *= 10;
        slots[k] += work.Param->Data[i] - '0';
        for (int32_t j = k; j >= 1; --j) {
            slots[j - 1] += slots[j] / CompactionBase;
            slots[j] %= CompactionBase;
        }
    }
}
