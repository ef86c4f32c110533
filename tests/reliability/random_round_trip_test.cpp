// Thousands of seeded random symbols, each read back by zxing-cpp and
// compared byte for byte: random bytes and document records of random GBK
// fields, in every shape, at every level, over the whole aspect-ratio range
// (clamped ends included), some inverted.
#include "document_record.h"
#include "gbk_codec.h"
#include "pdf417.h"
#include "pdf417_decoder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

using trelvanic::test::DecodePDF417Rows;
using trelvanic::test::Hex;

constexpr uint32_t Seed = 15438;
constexpr int Symbols = 4000;

struct TShape {
    const char* Name;
    uint32_t Flags;
    bool WindowSettings = false; // seven columns, level 3
};
const TShape Shapes[] = {
    {"automatic", 0},
    {"fixed columns", efFixedColumns},
    {"fixed rows", efFixedRows},
    {"fixed rectangle", efFixedRectangle},
    {"the window's", efAutoErrorLevel | efFixedColumns, true},
};

int Uniform(std::mt19937& random, int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
}

// Any bytes; long runs now and then, so that every compaction mode and the
// limits are reached.
std::string RandomBytes(std::mt19937& random) {
    std::string bytes(static_cast<size_t>(Uniform(random, 1, Uniform(random, 0, 3) == 0 ? 1200 : 120)), '\0');
    const int alphabet = Uniform(random, 0, 3);
    for (char& byte : bytes) {
        switch (alphabet) {
        case 0: byte = static_cast<char>(Uniform(random, 0, 255)); break;
        case 1: byte = static_cast<char>(Uniform(random, '0', '9')); break;
        case 2: byte = static_cast<char>(Uniform(random, ' ', '~')); break;
        default: byte = "09AZaz ,.\r\n\t\x80\xFF"[Uniform(random, 0, 14)]; break;
        }
    }
    return bytes;
}

// A value as a clerk types it: Chinese, digits, Latin letters and
// punctuation (line breaks only where the field may span lines), converted to
// GBK as the window converts it.
std::string RandomValue(std::mt19937& random, const TDocumentFieldInfo& info) {
    std::u32string text(static_cast<size_t>(Uniform(random, 0, Uniform(random, 0, 4) == 0 ? 60 : 12)), U' ');
    for (char32_t& c : text) {
        switch (Uniform(random, 0, 5)) {
        case 0:
        case 1: c = static_cast<char32_t>(Uniform(random, 0x4E00, 0x9FA5)); break;
        case 2: c = static_cast<char32_t>(Uniform(random, '0', '9')); break;
        case 3: c = static_cast<char32_t>(Uniform(random, ' ', '~')); break;
        case 4: c = U"，。：；（）《》、—年月日号"[Uniform(random, 0, 13)]; break;
        default: c = U"^|\r\n"[Uniform(random, 0, info.MultiLine ? 3 : 1)]; break;
        }
    }
    std::string utf8;
    for (const char32_t c : text) {
        if (c < 0x80) {
            utf8 += static_cast<char>(c);
        } else if (c < 0x800) {
            utf8 += static_cast<char>(0xC0 | (c >> 6));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            utf8 += static_cast<char>(0xE0 | (c >> 12));
            utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return Utf8ToGbk(utf8, info.Label);
}

std::string RandomRecord(std::mt19937& random) {
    TDocumentFields fields;
    for (const TDocumentFieldInfo& info : DocumentFieldInfos) fields.*info.Member = RandomValue(random, info);
    return BuildDocumentRecord(fields);
}

TEST(RandomRoundTrip, EveryShapeLevelAndAspectRatioReadsBackExactly) {
    std::mt19937 random(Seed);
    int decoded = 0, mismatched = 0, unreadable = 0, tooLong = 0;
    for (int i = 0; i < Symbols; ++i) {
        const std::string input = i % 2 ? RandomRecord(random) : RandomBytes(random);
        const TShape& shape = Shapes[static_cast<size_t>(i / 2) % std::size(Shapes)];
        TPDF417Param param{};
        PDF417InitParam(&param);
        param.Data = reinterpret_cast<const uint8_t*>(input.data());
        param.DataLength = static_cast<int32_t>(input.size());
        param.Flags = shape.Flags | (Uniform(random, 0, 7) == 0 ? uint32_t{efInvertBitmap} : 0u);
        // Levels in turn, each with and without the caller's level.
        param.ErrorLevel = (i / 10) % 9;
        if ((i / 90) % 2) param.Flags |= efUseErrorLevel;
        param.Columns = Uniform(random, 1, 30);
        param.Rows = Uniform(random, 3, 90);
        if (shape.WindowSettings) {
            param.Columns = 7;
            param.ErrorLevel = 3;
        }
        param.AspectRatio = std::pow(10.0, std::uniform_real_distribution<double>(-3.5, 3.5)(random));
        param.RowHeightRatio = std::uniform_real_distribution<double>(1.0, 8.0)(random);
        const TPDF417Param requested = param;

        PDF417Encode(&param);
        if (param.ErrorCode == ecTextTooLong && input.size() > 300) {
            ++tooLong;
            continue;
        }
        SCOPED_TRACE(::testing::Message() << "symbol " << i << ": " << shape.Name << ", flags " << requested.Flags
                                          << ", level " << requested.ErrorLevel << ", aspect ratio "
                                          << requested.AspectRatio << ", " << input.size() << " bytes");
        ASSERT_EQ(param.ErrorCode, ecSuccess);
        const auto symbol = DecodePDF417Rows(param.RowBits, param.RowWidth, param.Rows,
                                             (param.Flags & efInvertBitmap) != 0, 2, 3);
        const std::vector<uint8_t> expected(input.begin(), input.end());
        if (!symbol.Ok) {
            ++unreadable;
            ADD_FAILURE() << "unreadable: " << param.Columns << " x " << param.Rows << ", level " << param.ErrorLevel;
        } else if (symbol.Bytes != expected) {
            ++mismatched;
            ADD_FAILURE() << "decoded " << Hex(symbol.Bytes) << "\n   want " << Hex(expected);
        } else {
            ++decoded;
        }
        PDF417FreeParam(&param);
    }
    std::printf("random round trips (seed %u): %d symbols decoded exactly, %d mismatched, %d unreadable, "
                "%d inputs refused as too long\n",
                Seed, decoded, mismatched, unreadable, tooLong);
    EXPECT_GT(decoded, Symbols * 9 / 10);
}

} // namespace
