// Bytes as uppercase hexadecimal, two digits a byte, no separators.
#pragma once

#include <string>
#include <string_view>

inline std::string ToHex(std::string_view bytes) {
    static constexpr char Digits[] = "0123456789ABCDEF";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        hex += Digits[byte >> 4];
        hex += Digits[byte & 0x0F];
    }
    return hex;
}
