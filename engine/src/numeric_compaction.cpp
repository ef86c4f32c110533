// Numeric compaction (ISO/IEC 15438, Numeric Compaction mode): groups of up to 44 digits,
// each with a leading 1, converted to base 900 in the codeword slots.
#include "compaction_modes.h"
#include "pdf417_work.h"

#include <algorithm>

namespace {

constexpr int32_t DigitsPerGroup = 44;
// Digits converted per step: 10^15 times a slot below 900 stays far inside 64 bits.
constexpr int32_t DigitsPerStep = 15;

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
    // The slots hold the base-900 digits of the value so far, most significant
    // first, starting from the leading 1. Each step takes up to 15 digits at
    // once: it multiplies by 10^c and adds their value, carrying from the last
    // slot up. A slot times 10^15 plus its carry stays below 2^60. 1 followed by
    // n digits has exactly n div 3 + 1 base-900 digits, so the first slot ends
    // in 1..899 and the last carry is 0.
    int32_t* slots = &work.Param->Codewords[work.CodewordPos];
    const int32_t k = GroupCodewords(n) - 1;
    work.CodewordPos += k + 1;
    for (int32_t j = 0; j < k; ++j)
        slots[j] = 0;
    slots[k] = 1;
    const uint8_t* digits = work.Param->Data + start;
    for (int32_t done = 0; done < n;) {
        uint64_t carry = 0;
        uint64_t scale = 1;
        for (const int32_t end = done + std::min(DigitsPerStep, n - done); done < end; ++done) {
            carry = carry * 10 + static_cast<uint64_t>(digits[done] - '0');
            scale *= 10;
        }
        for (int32_t j = k; j >= 0; --j) {
            const uint64_t value = static_cast<uint64_t>(slots[j]) * scale + carry;
            slots[j] = static_cast<int32_t>(value % CompactionBase);
            carry = value / CompactionBase;
        }
    }
}
