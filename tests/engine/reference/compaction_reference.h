// Numeric and byte groups by the literal base-900 arithmetic in the output
// slots: one multiply and one carry pass per digit or byte. Kept only to
// prove the engine's faster conversions equal to it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace reference {

// Carries from the last slot to the first, leaving every slot but the first below 900.
inline void Carry(std::vector<int32_t>& slots) {
    for (std::size_t j = slots.size() - 1; j >= 1; --j) {
        slots[j - 1] += slots[j] / 900;
        slots[j] %= 900;
    }
}

// 1 followed by the n digits, as n div 3 + 1 base-900 digits.
inline std::vector<int32_t> NumericGroup(const uint8_t* digits, int32_t n) {
    std::vector<int32_t> slots(static_cast<std::size_t>(n / 3 + 1), 0);
    slots.back() = 1;
    for (int32_t i = 0; i < n; ++i) {
        for (int32_t& slot : slots)
            slot *= 10;
        slots.back() += digits[i] - '0';
        Carry(slots);
    }
    return slots;
}

// Six bytes, first byte highest, as five base-900 digits.
inline std::vector<int32_t> ByteGroup(const uint8_t* bytes) {
    std::vector<int32_t> slots(5, 0);
    for (int32_t i = 0; i < 6; ++i) {
        for (int32_t& slot : slots)
            slot *= 256;
        slots.back() += bytes[i];
        Carry(slots);
    }
    return slots;
}

} // namespace reference
