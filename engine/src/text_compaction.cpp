// Text compaction (ISO/IEC 15438, Text Compaction mode): one text run into sub-mode values,
// two values a codeword, with a two-byte look-ahead choosing latch or shift.
#include "compaction_modes.h"
#include "pdf417_work.h"
#include "text_classes.h"

namespace {

// Sub-mode switch values. The same value means something else in each
// sub-mode, so each name says where it is sent.
constexpr uint16_t PunctuationLatchFromMixed = 25;
constexpr uint16_t LowerLatch = 27; // from alpha or mixed
constexpr uint16_t AlphaShift = 27; // from lower case
constexpr uint16_t MixedLatch = 28; // from alpha or lower case
constexpr uint16_t AlphaLatchFromMixed = 28;
constexpr uint16_t PunctuationShift = 29; // from alpha, lower case or mixed
constexpr uint16_t AlphaLatchFromPunctuation = 29;
// Completes an odd pair: a punctuation shift with nothing behind it, or in
// punctuation the alpha latch.
constexpr uint16_t Filler = 29;

constexpr int32_t ValuesPerCodeword = 30;

// A run of n bytes never yields more than 2n values, the filler included.
constexpr int32_t MaxRunValues = 2 * PDF417MaxDataLength;

struct TTextValues {
    uint16_t Items[MaxRunValues];
    int32_t Count = 0;
    int32_t ByteShifts = 0; // 2 for each byte shift: its two entries take two codewords

    void Add(uint32_t value) { Items[Count++] = static_cast<uint16_t>(value); }
    void Add(uint32_t first, uint32_t second) {
        Add(first);
        Add(second);
    }
    bool IsOdd() const { return Count % 2 != 0; }
    int32_t CodewordCount() const { return (Count + ByteShifts) / 2; }
};

void CollectValues(const uint8_t* data, int32_t start, int32_t end, TTextValues& values) {
    uint32_t mode = tcAlpha;
    int32_t pos = start;
    while (pos < end) {
        const uint32_t c = PDF417TextClass(data, end, pos);
        const uint32_t v = c & tcValueMask;
        if ((c & mode) != 0) {
            values.Add(v);
            pos++;
            continue;
        }
        if ((c & tcByte) != 0) {
            // 913 must start a pair.
            if (values.IsOdd()) {
                values.Add(Filler);
                if (mode == tcPunctuation) mode = tcAlpha;
            }
            values.Add(static_cast<uint32_t>(cwByteShift), v);
            values.ByteShifts += 2;
            pos++;
            continue;
        }
        const uint32_t nextTwo =
            PDF417TextClass(data, end, pos + 1) & PDF417TextClass(data, end, pos + 2);
        switch (mode) {
        case tcAlpha:
            if ((c & tcLower) != 0) {
                values.Add(LowerLatch, v);
                mode = tcLower;
            } else if ((c & tcMixed) != 0) {
                values.Add(MixedLatch, v);
                mode = tcMixed;
            } else if ((nextTwo & tcPunctuation) != 0) {
                values.Add(MixedLatch, PunctuationLatchFromMixed);
                values.Add(v);
                mode = tcPunctuation;
            } else {
                values.Add(PunctuationShift, v);
            }
            break;
        case tcLower:
            if ((c & tcAlpha) != 0 && (nextTwo & tcAlpha) != 0) {
                values.Add(MixedLatch, AlphaLatchFromMixed);
                values.Add(v);
                mode = tcAlpha;
            } else if ((c & tcAlpha) != 0) {
                values.Add(AlphaShift, v);
            } else if ((c & tcMixed) != 0) {
                values.Add(MixedLatch, v);
                mode = tcMixed;
            } else if ((nextTwo & tcPunctuation) != 0) {
                values.Add(MixedLatch, PunctuationLatchFromMixed);
                values.Add(v);
                mode = tcPunctuation;
            } else {
                values.Add(PunctuationShift, v);
            }
            break;
        case tcMixed:
            if ((c & tcLower) != 0) {
                values.Add(LowerLatch, v);
                mode = tcLower;
            } else if ((c & tcAlpha) != 0) {
                values.Add(AlphaLatchFromMixed, v);
                mode = tcAlpha;
            } else if ((nextTwo & tcPunctuation) != 0) {
                values.Add(PunctuationLatchFromMixed, v);
                mode = tcPunctuation;
            } else {
                values.Add(PunctuationShift, v);
            }
            break;
        default: // punctuation: back to alpha, and the same byte is handled again
            values.Add(AlphaLatchFromPunctuation);
            mode = tcAlpha;
            continue;
        }
        pos++;
    }
    if (values.IsOdd()) values.Add(Filler);
}

} // namespace

uint32_t PDF417TextClass(const uint8_t* data, int32_t end, int32_t pos) {
    return pos < end ? TextClasses[data[pos]] : 0;
}

void PDF417TextCompaction(TPDF417Work& work, int32_t start, int32_t count) {
    TPDF417Param& param = *work.Param;
    // Every byte gives at least one value, so a run that cannot fit even at two
    // bytes a codeword fails before it is looked at; this also keeps any count
    // inside the working array.
    if (work.CodewordPos + (count + 1) / 2 > PDF417MaxDataCodewords) {
        param.ErrorCode = ecTextTooLong;
        return;
    }
    TTextValues values;
    CollectValues(param.Data, start, start + count, values);
    if (work.CodewordPos + values.CodewordCount() > PDF417MaxDataCodewords) {
        param.ErrorCode = ecTextTooLong;
        return;
    }
    for (int32_t i = 0; i < values.Count; i += 2) {
        const int32_t high = values.Items[i];
        const int32_t low = values.Items[i + 1];
        if (high == cwByteShift) {
            param.Codewords[work.CodewordPos++] = high;
            param.Codewords[work.CodewordPos++] = low;
        } else {
            param.Codewords[work.CodewordPos++] = high * ValuesPerCodeword + low;
        }
    }
}
