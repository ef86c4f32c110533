#include "gbk_codec.h"

#include "exception.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace {

// Decodes one strictly valid UTF-8 sequence at `pos` (no overlong forms, no
// surrogates, nothing above U+10FFFF); returns its length, 0 if invalid.
size_t DecodeUtf8(std::string_view text, size_t pos, char32_t& codePoint) {
    const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[pos + i]); };
    const uint8_t lead = byte(0);
    size_t length = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, value = lead & 0x1Fu, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, value = lead & 0x0Fu, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, value = lead & 0x07u, minimum = 0x10000;
    } else {
        return 0;
    }
    if (pos + length > text.size()) return 0;
    for (size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return 0;
        value = (value << 6) | (byte(i) & 0x3Fu);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
    codePoint = value;
    return length;
}

std::string Quoted(std::string_view name) {
    return "\"" + std::string(name) + "\"";
}

[[noreturn]] void ThrowInvalidUtf8(std::string_view text, size_t pos, std::string_view fieldName) {
    char detail[64];
    std::snprintf(detail, sizeof detail, " (byte 0x%02X at offset %zu).",
                  static_cast<uint8_t>(text[pos]), pos);
    throw Exception("The field " + Quoted(fieldName) + " is not valid UTF-8 text" + detail);
}

// Names the character both as itself and by its code point; C1 controls
// (the only code points below U+00A0 that GBK lacks) are named by code only.
[[noreturn]] void ThrowUnrepresentable(std::string_view text, size_t pos,
                                       std::string_view fieldName) {
    char32_t codePoint = 0;
    const size_t length = DecodeUtf8(text, pos, codePoint);
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(codePoint));
    const std::string character =
        codePoint < 0xA0 ? std::string(code) : Quoted(text.substr(pos, length)) + " (" + code + ")";
    throw Exception("The field " + Quoted(fieldName) + " contains the character " + character +
                    ", which code page 936 cannot represent.");
}

[[noreturn]] void ThrowInvalidGbk(std::string_view gbk, size_t pos, std::string_view fieldName) {
    char detail[64];
    std::snprintf(detail, sizeof detail, " (byte 0x%02X at offset %zu).",
                  static_cast<uint8_t>(gbk[pos]), pos);
    throw Exception("The field " + Quoted(fieldName) + " is not valid code page 936 text" + detail);
}

void CheckUtf8(std::string_view utf8, std::string_view fieldName) {
    char32_t codePoint = 0;
    for (size_t pos = 0; pos < utf8.size();) {
        const size_t length = DecodeUtf8(utf8, pos, codePoint);
        if (length == 0) ThrowInvalidUtf8(utf8, pos, fieldName);
        pos += length;
    }
}

#ifdef _WIN32

constexpr unsigned GbkCodePage = 936;

std::wstring ToWide(std::string_view text, UINT codePage) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int wideSize =
        MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
    if (wideSize <= 0) return {};
    std::wstring wide(static_cast<size_t>(wideSize), L'\0');
    MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(), wideSize);
    return wide;
}

// Returns false when a character has no exact counterpart: best-fit
// look-alikes are refused, not substituted.
bool FromWide(std::wstring_view wide, UINT codePage, std::string& out) {
    out.clear();
    if (wide.empty()) return true;
    const int size = static_cast<int>(wide.size());
    const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* const usedDefaultOut = codePage == CP_UTF8 ? nullptr : &usedDefault;
    const int narrowSize = WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0,
                                               nullptr, usedDefaultOut);
    if (narrowSize <= 0 || usedDefault) return false;
    out.resize(static_cast<size_t>(narrowSize));
    WideCharToMultiByte(codePage, flags, wide.data(), size, out.data(), narrowSize, nullptr,
                        usedDefaultOut);
    return !usedDefault;
}

} // namespace

std::string Utf8ToGbk(std::string_view utf8, std::string_view fieldName) {
    CheckUtf8(utf8, fieldName);
    std::string gbk;
    if (FromWide(ToWide(utf8, CP_UTF8), GbkCodePage, gbk)) return gbk;
    // Find the first character that does not convert, to name it.
    char32_t codePoint = 0;
    std::string piece;
    for (size_t pos = 0; pos < utf8.size();) {
        const size_t length = DecodeUtf8(utf8, pos, codePoint);
        if (!FromWide(ToWide(utf8.substr(pos, length), CP_UTF8), GbkCodePage, piece)) {
            ThrowUnrepresentable(utf8, pos, fieldName);
        }
        pos += length;
    }
    // Every character converts alone but the whole did not: gbk holds no
    // sound result, so refuse rather than hand it on.
    throw Exception("The field " + Quoted(fieldName) + " cannot be converted to code page 936.");
}

std::string GbkToUtf8(std::string_view gbk, std::string_view fieldName) {
    if (gbk.empty()) return {};
    const std::wstring wide = ToWide(gbk, GbkCodePage);
    std::string utf8;
    if (!wide.empty() && FromWide(wide, CP_UTF8, utf8)) return utf8;
    // Find the first byte that does not start a valid character.
    for (size_t pos = 0; pos < gbk.size();) {
        const uint8_t lead = static_cast<uint8_t>(gbk[pos]);
        const size_t length = lead >= 0x81 && lead <= 0xFE ? 2 : 1;
        if (pos + length > gbk.size() || ToWide(gbk.substr(pos, length), GbkCodePage).empty()) {
            ThrowInvalidGbk(gbk, pos, fieldName);
        }
        pos += length;
    }
    ThrowInvalidGbk(gbk, 0, fieldName);
}

#else

// glibc's "CP936" is Windows code page 936 (U+20AC is 0x80), and iconv
// without //TRANSLIT or //IGNORE refuses what it cannot map.
class Converter {
public:
    Converter(const char* to, const char* from) : Handle(iconv_open(to, from)) {
        if (Handle == reinterpret_cast<iconv_t>(-1)) {
            throw Exception(
                std::string("The converter between UTF-8 and code page 936 is not available: ") +
                std::strerror(errno));
        }
    }
    ~Converter() { iconv_close(Handle); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts all of `in`; on failure returns false with `failedAt` the
    // offset of the sequence that could not be converted.
    bool Convert(std::string_view in, std::string& out, size_t& failedAt) {
        out.assign(in.size() * 3 + 4, '\0'); // enough for either direction
        char* inPtr = const_cast<char*>(in.data());
        size_t inLeft = in.size();
        char* outPtr = out.data();
        size_t outLeft = out.size();
        if (iconv(Handle, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) {
            failedAt = in.size() - inLeft;
            return false;
        }
        out.resize(out.size() - outLeft);
        return true;
    }

private:
    iconv_t Handle;
};

} // namespace

std::string Utf8ToGbk(std::string_view utf8, std::string_view fieldName) {
    CheckUtf8(utf8, fieldName);
    Converter converter("CP936", "UTF-8");
    std::string gbk;
    size_t failedAt = 0;
    if (!converter.Convert(utf8, gbk, failedAt)) ThrowUnrepresentable(utf8, failedAt, fieldName);
    return gbk;
}

std::string GbkToUtf8(std::string_view gbk, std::string_view fieldName) {
    Converter converter("UTF-8", "CP936");
    std::string utf8;
    size_t failedAt = 0;
    if (!converter.Convert(gbk, utf8, failedAt)) ThrowInvalidGbk(gbk, failedAt, fieldName);
    return utf8;
}

#endif
