// How text compaction sees a byte: the sub-modes that have a value for it
// (ISO/IEC 15438, Text Compaction mode: the alpha, lower-case, mixed and
// punctuation sub-mode tables).
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

// Class bits of a text class word; bits 0 to 7 hold the byte's value.
inline constexpr uint32_t tcAlpha = 0x10000;
inline constexpr uint32_t tcLower = 0x20000;
inline constexpr uint32_t tcMixed = 0x40000;
inline constexpr uint32_t tcPunctuation = 0x80000;
inline constexpr uint32_t tcByte = 0x100000; // no text value: sent with a byte shift
inline constexpr uint32_t tcValueMask = 0xFF;

// The mixed and punctuation sub-mode characters in the standard's order, so
// that a character's position is its value. Both give CR, TAB, comma, colon,
// hyphen, full stop, dollar, slash and asterisk the same position.
inline constexpr std::string_view MixedChars = "0123456789&\r\t,:#-.$/+%*=^";
inline constexpr std::string_view PunctuationChars = ";<>@[\\]_`~!\r\t,:\n-.$/\"|*()?{}'";
static_assert(MixedChars.size() == 25 && PunctuationChars.size() == 29);

inline constexpr uint32_t TextSpaceValue = 26; // in alpha, lower case and mixed

constexpr uint32_t TextClassOfByte(uint8_t byte) {
    if (byte >= 'A' && byte <= 'Z') return tcAlpha | (byte - 'A');
    if (byte >= 'a' && byte <= 'z') return tcLower | (byte - 'a');
    if (byte == ' ') return tcAlpha | tcLower | tcMixed | TextSpaceValue;
    const std::size_t mixed = MixedChars.find(static_cast<char>(byte));
    const std::size_t punctuation = PunctuationChars.find(static_cast<char>(byte));
    constexpr std::size_t none = std::string_view::npos;
    if (mixed == none && punctuation == none) return tcByte | byte;
    // A character of both tables stands at the same position in each.
    const std::size_t value = mixed != none ? mixed : punctuation;
    return (mixed != none ? tcMixed : 0) | (punctuation != none ? tcPunctuation : 0) |
           static_cast<uint32_t>(value);
}

inline constexpr std::array<uint32_t, 256> TextClasses = [] {
    std::array<uint32_t, 256> classes{};
    for (std::size_t byte = 0; byte < classes.size(); ++byte)
        classes[byte] = TextClassOfByte(static_cast<uint8_t>(byte));
    return classes;
}();

// A byte that text compaction encodes without a byte shift.
constexpr bool IsTextByte(uint8_t byte) {
    return (TextClasses[byte] & tcByte) == 0;
}
