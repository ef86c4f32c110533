// Symbols drawn by the engine, read back by an independent decoder (zxing-cpp)
// and compared with the input byte for byte.
#include "pdf417.h"
#include "pdf417_decoder.h"
#include "raw_codewords.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

using trelvanic::test::DecodePDF417Rows;
using trelvanic::test::Hex;

// Totals over the whole program, printed at the end.
struct Tally {
    int Decoded = 0;
    int Mismatched = 0;
    int Unreadable = 0;
};
Tally tally;

class TallyReport : public ::testing::Environment {
public:
    void TearDown() override {
        std::printf("round trips: %d symbols decoded, %d mismatched, %d unreadable\n",
                    tally.Decoded, tally.Mismatched, tally.Unreadable);
    }
};
const auto* const report = ::testing::AddGlobalTestEnvironment(new TallyReport);

std::vector<uint8_t> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

// Decodes the encoded record and compares; true when the bytes match.
bool ReadsBackAs(const TPDF417Param& p, const std::vector<uint8_t>& expected) {
    EXPECT_EQ(p.ErrorCode, ecSuccess);
    if (p.ErrorCode != ecSuccess) return false;
    const auto decoded =
        DecodePDF417Rows(p.RowBits, p.RowWidth, p.Rows, (p.Flags & efInvertBitmap) != 0);
    if (!decoded.Ok) {
        ++tally.Unreadable;
        ADD_FAILURE() << decoded.Error << " (" << p.Columns << " x " << p.Rows << ", level "
                      << p.ErrorLevel << ")";
        return false;
    }
    ++tally.Decoded;
    if (decoded.Bytes != expected) {
        ++tally.Mismatched;
        ADD_FAILURE() << "decoded " << Hex(decoded.Bytes) << "\n   want " << Hex(expected);
        return false;
    }
    return true;
}

struct Shape {
    const char* Name;
    uint32_t Flags;
    int32_t Columns, Rows;
};
const Shape Automatic{"automatic", 0, 0, 0};
const Shape FixedColumns7{"fixed columns 7", efFixedColumns, 7, 0};
const Shape FixedColumns1{"fixed columns 1", efFixedColumns, 1, 0};
const Shape FixedRectangle{"fixed rectangle 10 x 20", efFixedRectangle, 10, 20};
const Shape Shapes[] = {
    Automatic,
    FixedColumns7,
    FixedColumns1,
    {"fixed rows 10", efFixedRows, 0, 10},
    {"fixed rows 3", efFixedRows, 0, 3},
    FixedRectangle,
    {"oversized rectangle 30 x 90", efFixedRectangle, 30, 90},
    {"oversized rectangle 20 x 90", efFixedRectangle, 20, 90},
};

bool EncodesAndReadsBack(const std::string& text, const Shape& shape, uint32_t extraFlags = 0,
                         int32_t level = 0) {
    TPDF417Param p{};
    PDF417InitParam(&p);
    p.Data = reinterpret_cast<const uint8_t*>(text.data());
    p.DataLength = static_cast<int32_t>(text.size());
    p.Flags = shape.Flags | extraFlags;
    p.Columns = shape.Columns;
    p.Rows = shape.Rows;
    p.ErrorLevel = level;
    PDF417Encode(&p);
    const bool ok = ReadsBackAs(p, Bytes(text));
    PDF417FreeParam(&p);
    return ok;
}

// A document record with GBK text, as the window builds it.
const std::string DocumentRecord = "GB0626-2005^0001^\xCE\xDE^\xCE\xDE^1^20240115^^"
                                   "\xC4\xB3\xCA\xD0\xC8\xCB\xC3\xF1\xD5\xFE\xB8\xAE^"
                                   "\xB9\xD8\xD3\xDA\xCE\xC4\xBC\xFE^\xC3\xD8\xC3\xDC^10^"
                                   "\xCC\xD8\xBC\xB1^20240116^|";

const struct Sample {
    const char* Name;
    std::string Text;
} Samples[] = {
    {"upper case", "HELLO WORLD"},
    {"mixed text", "Trelvanic 1.0: a PDF417 test, with punctuation! (#1) & lower case ~"},
    {"digits", "12345678901234567890123456789012345678901234567890"},
    {"eight digits alone", "12345678"},
    {"binary", std::string("\x00\x01\x02\xFF\xFE\x80\x7F\x1B\r\n\t", 11)},
    {"document record", DocumentRecord},
    {"record with numeric run", "GB0626-2005^1234567890123^\xC3\xD8\xC3\xDC^|"},
    {"numeric text numeric", "1234567890123X1234567890123"},
    {"six-byte groups", "\xC4\xB3\xCA\xD0\xC8\xCB\xC3\xF1\xD5\xFE\xB8\xAE"},
    {"multi-line", "first line\r\nsecond line\r\n\xB5\xDA\xC8\xFD\xD0\xD0"},
};

TEST(RoundTrip, SamplesInEveryShape) {
    for (const Sample& sample : Samples) {
        for (const Shape& shape : Shapes) {
            SCOPED_TRACE(::testing::Message() << sample.Name << ", " << shape.Name);
            EncodesAndReadsBack(sample.Text, shape);
        }
    }
}

// Each column count puts the stop pattern at another bit offset in its bytes.
TEST(RoundTrip, EveryColumnCount) {
    for (int32_t columns = PDF417MinColumns; columns <= PDF417MaxColumns; ++columns) {
        SCOPED_TRACE(::testing::Message() << columns << " columns");
        EncodesAndReadsBack(DocumentRecord, Shape{"fixed columns", efFixedColumns, columns, 0});
    }
}

TEST(RoundTrip, EveryErrorLevel) {
    for (int32_t level = 0; level <= PDF417MaxErrorLevelValue; ++level) {
        for (const Shape& shape : {Automatic, FixedColumns7}) {
            SCOPED_TRACE(::testing::Message() << "level " << level << ", " << shape.Name);
            EncodesAndReadsBack(DocumentRecord, shape, efUseErrorLevel, level);
        }
    }
}

TEST(RoundTrip, Inverted) {
    for (const Shape& shape : {Automatic, FixedRectangle}) {
        SCOPED_TRACE(shape.Name);
        EncodesAndReadsBack(DocumentRecord, shape, efInvertBitmap);
    }
}

TEST(RoundTrip, LargestInputsOfEachMode) {
    std::string bytes(1108, '\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(0x80 + i % 128);
    std::string digits(2710, '0');
    for (size_t i = 0; i < digits.size(); ++i)
        digits[i] = static_cast<char>('0' + i * 7 % 10);
    std::string letters(1850, 'A');
    for (size_t i = 0; i < letters.size(); ++i)
        letters[i] = static_cast<char>('A' + i * 11 % 26);
    for (const auto& [name, text] :
         {std::pair{"1108 bytes", bytes}, std::pair{"2710 digits", digits},
          std::pair{"1850 letters", letters}}) {
        SCOPED_TRACE(name);
        EncodesAndReadsBack(text, Automatic);
        EncodesAndReadsBack(text, FixedColumns1);
    }
}

TEST(RoundTrip, MeasuredLengthEncodesUpToTheZeroByte) {
    const uint8_t data[] = {'A', 'B', 'C', 0, 'D', 0};
    TPDF417Param p{};
    PDF417InitParam(&p);
    p.Data = data;
    PDF417Encode(&p);
    ReadsBackAs(p, Bytes("ABC"));
    PDF417FreeParam(&p);
}

// Text-compaction codewords built by hand: proves sizing, error correction
// and rendering against the decoder without the engine's own compaction.
TEST(RoundTrip, RawCodewordsInEveryShapeAndLevel) {
    std::mt19937 random(929);
    for (const Shape& shape : Shapes) {
        for (int32_t level = 0; level <= PDF417MaxErrorLevelValue; ++level) {
            SCOPED_TRACE(::testing::Message() << shape.Name << ", level " << level);
            std::string letters(2 * (1 + random() % 200), 'A');
            for (char& letter : letters)
                letter = static_cast<char>('A' + random() % 26);
            TPDF417Param p =
                trelvanic::test::LetterCodewordParam(letters, shape.Flags | efUseErrorLevel);
            p.Columns = shape.Columns;
            p.Rows = shape.Rows;
            p.ErrorLevel = level;
            PDF417Encode(&p);
            ReadsBackAs(p, Bytes(letters));
            PDF417FreeParam(&p);
        }
    }
}

// Random inputs built from the byte classes that steer segmentation, in runs
// long and short, with random shapes, levels and inversion.
std::string RandomText(std::mt19937& random) {
    static const std::string classes[] = {
        "ABCDEFGHIJKLMNOPQRSTUVWXYZ ",
        "abcdefghijklmnopqrstuvwxyz ",
        "0123456789",
        "!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~\t\r\n",
        std::string("\x01\x02\x1B\x7F\x00", 5),
    };
    std::string text;
    const size_t runs = 1 + random() % 12;
    for (size_t run = 0; run < runs; ++run) {
        const auto kind = static_cast<uint32_t>(random() % 7);
        const size_t length = random() % 3 == 0 ? 1 + random() % 60 : 1 + random() % 6;
        for (size_t i = 0; i < length; ++i) {
            if (kind >= 5) {
                // A GBK character: lead byte 0x81..0xFE, trail 0x40..0xFE except 0x7F.
                text += static_cast<char>(0x81 + random() % 126);
                auto trail = static_cast<uint32_t>(0x40 + random() % 191);
                if (trail == 0x7F) trail = 0x80;
                text += static_cast<char>(trail);
            } else {
                const std::string& chars = classes[kind];
                text += chars[random() % chars.size()];
            }
        }
    }
    return text;
}

TEST(RoundTrip, SeededRandomBatch) {
    constexpr int count = 300;
    std::mt19937 random(20240115);
    int passed = 0;
    for (int i = 0; i < count; ++i) {
        const std::string text = RandomText(random);
        const Shape& shape = Shapes[random() % std::size(Shapes)];
        const uint32_t flags =
            (random() % 2 ? efUseErrorLevel : 0) | (random() % 8 == 0 ? efInvertBitmap : 0);
        const auto level = static_cast<int32_t>(random() % 9);
        SCOPED_TRACE(::testing::Message()
                     << "input " << i << ": " << Hex(Bytes(text)) << ", " << shape.Name
                     << ", flags " << flags << ", level " << level);
        if (EncodesAndReadsBack(text, shape, flags, level)) ++passed;
    }
    std::printf("random batch: %d of %d read back exactly\n", passed, count);
}

} // namespace
