#include "exception.h"
#include "gbk_codec.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(GbkCodec, ConvertsBothWays) {
    struct Case {
        const char* Utf8;
        std::string Gbk;
    };
    const Case cases[] = {
        {"", ""},
        {"PDF417 BARCODE ^|\r\n", "PDF417 BARCODE ^|\r\n"},
        {"无", "\xCE\xDE"},
        {"秘密10年", "\xC3\xD8\xC3\xDC\x31\x30\xC4\xEA"},
        {"：", "\xA3\xBA"},
        {"€", "\x80"}, // code page 936's single-byte euro
        {"·—é", "\xA1\xA4\xA1\xAA\xA8\xA6"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Utf8);
        EXPECT_EQ(Utf8ToGbk(c.Utf8, "f"), c.Gbk);
        EXPECT_EQ(GbkToUtf8(c.Gbk, "f"), c.Utf8);
    }
}

std::string MessageOf(auto convert) {
    try {
        convert();
    } catch (const Exception& e) {
        return e.what();
    }
    return "(no exception)";
}

TEST(GbkCodec, RefusesWhatItCannotConvert) {
    struct Case {
        const char* Name;
        std::string Input;
        bool FromUtf8;
        std::string Message;
    };
    const std::string field = "The field \"发文单位\" ";
    const Case cases[] = {
        {"outside code page 936", "ab₩", true,
         field + "contains the character \"₩\" (U+20A9), which code page 936 cannot represent."},
        {"outside the basic plane", "单位😀", true,
         field + "contains the character \"😀\" (U+1F600), which code page 936 cannot represent."},
        {"C1 control named by code", "a\xC2\x85", true,
         field + "contains the character U+0085, which code page 936 cannot represent."},
        {"truncated sequence", "ab\xE6\x97", true,
         field + "is not valid UTF-8 text (byte 0xE6 at offset 2)."},
        {"overlong form", "\xC0\xAF", true,
         field + "is not valid UTF-8 text (byte 0xC0 at offset 0)."},
        {"surrogate", "x\xED\xA0\x80", true,
         field + "is not valid UTF-8 text (byte 0xED at offset 1)."},
        {"stray continuation", "\x80", true,
         field + "is not valid UTF-8 text (byte 0x80 at offset 0)."},
        {"GBK lead byte at the end", "\xCE\xDE\xCE", false,
         field + "is not valid code page 936 text (byte 0xCE at offset 2)."},
        {"GBK byte 0xFF", "a\xFF", false,
         field + "is not valid code page 936 text (byte 0xFF at offset 1)."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::string message = c.FromUtf8 ? MessageOf([&] { Utf8ToGbk(c.Input, "发文单位"); })
                                               : MessageOf([&] { GbkToUtf8(c.Input, "发文单位"); });
        EXPECT_EQ(message, c.Message);
    }
}

} // namespace
