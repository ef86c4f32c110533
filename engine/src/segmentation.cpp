// Divides the input into text, numeric and byte runs with fixed thresholds.
#include "pdf417_work.h"
#include "text_classes.h"

namespace {

constexpr int32_t MinNumericRun = 13;     // digits in a row that make a numeric run
constexpr int32_t MinBridgingText = 3;    // text on both sides of a lone bridged byte
constexpr int32_t MinAbsorbingText = 5;   // a text run this long takes in its neighbours
constexpr int32_t MaxAbsorbedText = 4;    // a byte run takes in text runs this short
constexpr int32_t MinLoneNumericText = 8; // a lone all-digit text this long goes numeric

bool IsDigit(uint8_t byte) {
    return byte >= '0' && byte <= '9';
}

// Appends [start, end) as alternating text and byte runs.
void CutStretch(TPDF417SegmentList& list, const uint8_t* data, int32_t start, int32_t end) {
    int32_t partStart = start;
    for (int32_t j = start + 1; j <= end; ++j) {
        if (j < end && IsTextByte(data[j]) == IsTextByte(data[partStart])) continue;
        PDF417AddSegment(list, IsTextByte(data[partStart]) ? skText : skByte, partStart, j);
        partStart = j;
    }
}

// Numeric runs of 13 digits or more, and the stretches between them cut into
// text and byte runs.
void AddNumericAndCutRuns(TPDF417SegmentList& list, const uint8_t* data, int32_t length) {
    int32_t last = 0;
    int32_t digitStart = 0;
    int32_t digits = 0;
    for (int32_t j = 0; j < length; ++j) {
        if (IsDigit(data[j])) {
            if (digits == 0) digitStart = j;
            digits++;
            continue;
        }
        if (digits >= MinNumericRun) {
            CutStretch(list, data, last, digitStart);
            PDF417AddSegment(list, skNumeric, digitStart, j);
            last = j;
        }
        digits = 0;
    }
    if (digits >= MinNumericRun) {
        CutStretch(list, data, last, digitStart);
        PDF417AddSegment(list, skNumeric, digitStart, length);
    } else {
        CutStretch(list, data, last, length);
    }
}

// A lone non-text byte between text runs of 3 bytes or more in total
// joins them into one text run.
void BridgeSingleBytes(TPDF417SegmentList& list) {
    int32_t i = 0;
    while (i < list.Count) {
        const TPDF417Segment* entry = PDF417GetSegment(list, i);
        TPDF417Segment* left = PDF417GetSegment(list, i - 1);
        const TPDF417Segment* right = PDF417GetSegment(list, i + 1);
        if (PDF417SegmentIsKind(entry, skByte) && PDF417SegmentLength(entry) == 1 &&
            PDF417SegmentIsKind(left, skText) && PDF417SegmentIsKind(right, skText) &&
            PDF417SegmentLength(left) + PDF417SegmentLength(right) >= MinBridgingText) {
            left->End = right->End;
            PDF417DeleteSegment(list, i + 1);
            PDF417DeleteSegment(list, i);
            i = 0;
        } else {
            i++;
        }
    }
}

// Every entry that absorbs takes in its qualifying left, then
// right neighbour; after any merge the examination starts again at the first
// entry.
template <typename Absorbs, typename Qualifies>
void AbsorbNeighbours(TPDF417SegmentList& list, Absorbs absorbs, Qualifies qualifies) {
    int32_t i = 0;
    while (i < list.Count) {
        if (!absorbs(PDF417GetSegment(list, i))) {
            i++;
            continue;
        }
        bool merged = false;
        const TPDF417Segment* left = PDF417GetSegment(list, i - 1);
        if (qualifies(left)) {
            const int32_t start = left->Start;
            PDF417DeleteSegment(list, i - 1);
            i--;
            PDF417GetSegment(list, i)->Start = start;
            merged = true;
        }
        const TPDF417Segment* right = PDF417GetSegment(list, i + 1);
        if (qualifies(right)) {
            PDF417GetSegment(list, i)->End = right->End;
            PDF417DeleteSegment(list, i + 1);
            merged = true;
        }
        i = merged ? 0 : i + 1;
    }
}

bool IsLongText(const TPDF417Segment* segment) {
    return PDF417SegmentIsKind(segment, skText) && PDF417SegmentLength(segment) >= MinAbsorbingText;
}

bool IsSingleByte(const TPDF417Segment* segment) {
    return PDF417SegmentIsKind(segment, skByte) && PDF417SegmentLength(segment) == 1;
}

// An input that is nothing but 8 or more digits goes numeric.
void MakeLoneDigitTextNumeric(TPDF417SegmentList& list, const uint8_t* data) {
    TPDF417Segment* only = PDF417GetSegment(list, 0);
    if (list.Count != 1 || !PDF417SegmentIsKind(only, skText) ||
        PDF417SegmentLength(only) < MinLoneNumericText)
        return;
    for (int32_t j = only->Start; j < only->End; ++j)
        if (!IsDigit(data[j])) return;
    only->Kind = skNumeric;
}

} // namespace

void PDF417BuildSegments(TPDF417Work& work, TPDF417SegmentList& list) {
    const uint8_t* data = work.Param->Data;
    list.Count = 0;
    AddNumericAndCutRuns(list, data, work.Param->DataLength);
    BridgeSingleBytes(list);
    AbsorbNeighbours(list, IsLongText, [](const TPDF417Segment* neighbour) {
        return PDF417SegmentIsKind(neighbour, skText) || IsSingleByte(neighbour);
    });
    AbsorbNeighbours(
        list, [](const TPDF417Segment* entry) { return PDF417SegmentIsKind(entry, skByte); },
        [](const TPDF417Segment* neighbour) {
            return (PDF417SegmentIsKind(neighbour, skText) &&
                    PDF417SegmentLength(neighbour) <= MaxAbsorbedText) ||
                   PDF417SegmentIsKind(neighbour, skByte);
        });
    MakeLoneDigitTextNumeric(list, data);
}
