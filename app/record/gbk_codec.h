// Conversion between UTF-8 (what the user and Word hand us) and code page 936
// (GBK, the bytes that the record and the symbol carry), over the platform's
// converter: iconv on POSIX, the Win32 code-page functions on Windows.
#pragma once

#include <string>
#include <string_view>

// Throws Exception, naming the field by `fieldName`, when the text is not
// valid UTF-8 or holds a character that code page 936 cannot represent; no
// character is ever replaced or dropped.
std::string Utf8ToGbk(std::string_view utf8, std::string_view fieldName);

// Throws Exception, naming the field by `fieldName`, when the bytes are not
// valid code page 936 text.
std::string GbkToUtf8(std::string_view gbk, std::string_view fieldName);
