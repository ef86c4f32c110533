// The engine under any parameter record: every flag bit, any rows, columns
// and level, any aspect and row-height ratio (NaN, infinities, negatives
// included), bytes of any length or raw codewords of any value and count.
//
// Every symbol of bytes is decoded with zxing-cpp: a quarter of the rate
// without, but each run proves the symbol carries its input.
//
// Input layout (little-endian, missing bytes read as zero):
//   u32 Flags, i32 Rows, i32 Columns, i32 ErrorLevel, f64 AspectRatio,
//   f64 RowHeightRatio, u8 shaping, i32 count, then the payload: the bytes to
//   encode, or with efRawCodewords one i32 per codeword (at most 928).
// Shaping bits: 1 DataLength negative (the count, sign forced: "up to the first
// zero byte"); 2 raw count consistent (CodewordCount = Codewords[0] = payload
// codewords + 1), else CodewordCount is the count and Codewords[0] the payload
// codewords + 1, or with bit 16 the count as well; 4 raw values taken modulo
// 929; 8 RowBits holds a foreign buffer before the call, which must survive a
// failure untouched.
#include "fuzz_check.h"
#include "fuzz_reader.h"
#include "pdf417.h"
#include "pdf417_decoder.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

namespace {

using trelvanic::fuzz::FuzzReader;

enum : uint8_t {
    MeasuredLength = 1,
    ConsistentRawCount = 2,
    ValidRawValues = 4,
    ForeignRowBits = 8,
    DescriptorIsCount = 16,
};

// The codewords that no call may touch are filled with this.
constexpr int32_t Untouched = -777;

// Start and stop patterns of ISO/IEC 15438, module by module.
constexpr char StartPattern[] = "11111111010101000";
constexpr char StopPattern[] = "111111101000101001";

bool Module(const TPDF417Param& p, int32_t row, int32_t module) {
    const int32_t bytesPerRow = (p.RowWidth + 7) / 8;
    return (p.RowBits[row * bytesPerRow + module / 8] >> (7 - module % 8)) & 1;
}

// Every row starts and ends with the fixed patterns and its fill bits are
// clear (set when inverted, since every byte is complemented).
void RequireRowFrame(const TPDF417Param& p) {
    const bool inverted = (p.Flags & efInvertBitmap) != 0;
    const int32_t bytesPerRow = (p.RowWidth + 7) / 8;
    const int32_t stopAt = p.RowWidth - static_cast<int32_t>(std::strlen(StopPattern));
    for (int32_t row = 0; row < p.Rows; ++row) {
        for (int32_t m = 0; StartPattern[m]; ++m)
            FUZZ_REQUIRE(Module(p, row, m) == ((StartPattern[m] == '1') != inverted));
        for (int32_t m = 0; StopPattern[m]; ++m)
            FUZZ_REQUIRE(Module(p, row, stopAt + m) == ((StopPattern[m] == '1') != inverted));
        for (int32_t m = p.RowWidth; m < bytesPerRow * 8; ++m) FUZZ_REQUIRE(Module(p, row, m) == inverted);
    }
}

void RequireSymbol(const TPDF417Param& p, const TPDF417Param& before, int32_t rawCount,
                   const std::vector<uint8_t>& input) {
    FUZZ_REQUIRE(p.RowBits != nullptr && p.RowBits != before.RowBits);
    FUZZ_REQUIRE(p.Columns >= PDF417MinColumns && p.Columns <= PDF417MaxColumns);
    FUZZ_REQUIRE(p.Rows >= PDF417MinRows && p.Rows <= PDF417MaxRows);
    FUZZ_REQUIRE(p.CodewordCount == p.Rows * p.Columns);
    FUZZ_REQUIRE(p.CodewordCount <= PDF417MaxCodewords);
    FUZZ_REQUIRE(p.RowWidth == 17 * p.Columns + 69);
    FUZZ_REQUIRE(p.RowBitsSize == (p.RowWidth + 7) / 8 * p.Rows);
    FUZZ_REQUIRE(p.ErrorLevel >= 0 && p.ErrorLevel <= PDF417MaxErrorLevelValue);
    const int32_t ec = 2 << p.ErrorLevel;
    FUZZ_REQUIRE(p.Codewords[0] + ec == p.CodewordCount);
    for (int32_t i = 0; i < p.CodewordCount; ++i)
        FUZZ_REQUIRE(p.Codewords[i] >= 0 && p.Codewords[i] <= PDF417MaxCodewordValue);
    if (!(p.Flags & (efFixedRectangle | efFixedColumns | efFixedRows)))
        FUZZ_REQUIRE(p.AspectRatio >= 0.001 && p.AspectRatio <= 1000.0);
    RequireRowFrame(p);

    if (p.Flags & efRawCodewords) {
        // The caller's codewords stay as given, followed by padding only, and
        // the spare room went to error correction before padding.
        for (int32_t i = 1; i < rawCount; ++i) FUZZ_REQUIRE(p.Codewords[i] == before.Codewords[i]);
        for (int32_t i = rawCount; i < p.Codewords[0]; ++i) FUZZ_REQUIRE(p.Codewords[i] == PDF417PadCodeword);
        const int32_t pad = p.Codewords[0] - rawCount;
        FUZZ_REQUIRE(pad < ec || p.ErrorLevel == PDF417MaxErrorLevelValue);
        return;
    }
    FUZZ_REQUIRE(p.DataLength == static_cast<int32_t>(input.size()));
    // A symbol of the length descriptor alone carries nothing a decoder reports.
    if (input.empty()) return;
    const auto decoded = trelvanic::test::DecodePDF417Rows(p.RowBits, p.RowWidth, p.Rows,
                                                           (p.Flags & efInvertBitmap) != 0, 2, 3);
    FUZZ_REQUIRE(decoded.Ok);
    FUZZ_REQUIRE(decoded.Bytes == input);
}

// A failure reports the documented code and changes nothing but ErrorCode,
// the measured DataLength and, when compaction ran out of room, Codewords.
void RequireRefusal(const TPDF417Param& p, const TPDF417Param& before, const std::vector<uint8_t>& input) {
    TPDF417Param expected = before;
    expected.ErrorCode = p.ErrorCode;
    if (p.Flags & efRawCodewords) {
        FUZZ_REQUIRE(p.ErrorCode == ecBadRawCodewords);
    } else {
        FUZZ_REQUIRE(p.ErrorCode == ecTextTooLong);
        expected.DataLength = static_cast<int32_t>(input.size());
        FUZZ_REQUIRE(p.DataLength == expected.DataLength);
        // Even at three codewords a byte, this much always fits.
        FUZZ_REQUIRE(input.size() > 300);
        if (input.size() <= PDF417MaxDataLength) std::memcpy(expected.Codewords, p.Codewords, sizeof p.Codewords);
    }
    // Up to the last field: the trailing padding is nobody's.
    FUZZ_REQUIRE(std::memcmp(&expected, &p, offsetof(TPDF417Param, ErrorCode) + sizeof p.ErrorCode) == 0);
}

// PDF417MaxErrorLevel against its definition: the largest L in 1..8 with
// 2^(L+1) <= free, otherwise 0.
void RequireMaxErrorLevel(int32_t free) {
    const int32_t level = PDF417MaxErrorLevel(free);
    FUZZ_REQUIRE(level >= 0 && level <= PDF417MaxErrorLevelValue);
    if (level == 0) FUZZ_REQUIRE(free < 4);
    else FUZZ_REQUIRE((2 << level) <= free && (level == PDF417MaxErrorLevelValue || (4 << level) > free));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzReader in(data, size);
    static uint8_t foreignRowBits[16];

    TPDF417Param param;
    std::memset(&param, 0, sizeof param); // padding too, for the byte compare
    PDF417InitParam(&param);
    param.Flags = in.Read<uint32_t>();
    param.Rows = in.Read<int32_t>();
    param.Columns = in.Read<int32_t>();
    param.ErrorLevel = in.Read<int32_t>();
    param.AspectRatio = in.Read<double>();
    param.RowHeightRatio = in.Read<double>();
    const auto shaping = in.Read<uint8_t>();
    const auto count = in.Read<int32_t>();
    for (int32_t& codeword : param.Codewords) codeword = Untouched;
    if (shaping & ForeignRowBits) param.RowBits = foreignRowBits;
    RequireMaxErrorLevel(count);

    std::vector<uint8_t> bytes; // the payload, zero-terminated for a measured length
    std::vector<uint8_t> input; // what the symbol must carry
    int32_t rawCount = 0;
    if (param.Flags & efRawCodewords) {
        int32_t given = 0;
        while (!in.Empty() && given + 1 < PDF417MaxCodewords) {
            int32_t value = in.Read<int32_t>();
            if (shaping & ValidRawValues) value = static_cast<int32_t>(static_cast<uint32_t>(value) % 929);
            param.Codewords[++given] = value;
        }
        const bool consistent = (shaping & ConsistentRawCount) != 0;
        rawCount = consistent ? given + 1 : count;
        param.CodewordCount = rawCount;
        param.Codewords[0] = consistent || (shaping & DescriptorIsCount) ? rawCount : given + 1;
    } else {
        const std::span<const uint8_t> payload = in.Remaining();
        bytes.assign(payload.begin(), payload.end());
        bytes.push_back(0);
        param.Data = bytes.data();
        if (shaping & MeasuredLength) {
            param.DataLength = count | INT32_MIN;
            input.assign(bytes.begin(), std::find(bytes.begin(), bytes.end(), uint8_t{0}));
        } else {
            param.DataLength = static_cast<int32_t>(payload.size());
            input.assign(payload.begin(), payload.end());
        }
    }

    const TPDF417Param before = param;
    PDF417Encode(&param);
    if (param.ErrorCode == ecSuccess) {
        RequireSymbol(param, before, rawCount, input);
        PDF417FreeParam(&param);
        FUZZ_REQUIRE(param.RowBits == nullptr);
        PDF417FreeParam(&param); // a second release does nothing
    } else {
        FUZZ_REQUIRE(param.RowBits == before.RowBits);
        RequireRefusal(param, before, input);
    }
    return 0;
}
