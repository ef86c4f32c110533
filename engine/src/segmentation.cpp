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

// Cuts the input into text and byte runs where a text byte meets a non-text
// byte, in one pass; a run of 13 digits or more (digits are text bytes) splits
// its text run into text, numeric and the text after it.
void AddNumericAndCutRuns(TPDF417SegmentList& list, const uint8_t* data, int32_t length) {
    int32_t start = 0;
    while (start < length) {
        int32_t j = start;
        if (!IsTextByte(data[j])) {
            while (j < length && !IsTextByte(data[j]))
                j++;
            PDF417AddSegment(list, skByte, start, j);
            start = j;
            continue;
        }
        while (j < length && IsTextByte(data[j])) {
            if (!IsDigit(data[j])) {
                j++;
                continue;
            }
            const int32_t digitStart = j;
            while (j < length && IsDigit(data[j]))
                j++;
            if (j - digitStart >= MinNumericRun) {
                if (digitStart > start) PDF417AddSegment(list, skText, start, digitStart);
                PDF417AddSegment(list, skNumeric, digitStart, j);
                start = j;
            }
        }
        if (j > start) PDF417AddSegment(list, skText, start, j);
        start = j;
    }
}

// Walks the list once for one merge rule, as if the examination started again
// at the first entry after every merge. Entries before the cursor have been
// examined and do not merge; a merge changes only what the merged entry and
// its two neighbours qualify for, so a restart would pass every entry before
// the merged entry's left neighbour without a merge. The walk steps back to
// that neighbour instead: the same merges in the same order, in linear time.
// While it walks, the list lies in two parts, the examined entries in
// Items[0, Done) and the rest from the entry under examination in
// Items[Next, Count); a deletion widens the gap between them instead of
// moving the tail of the array.
class TMergeWalk {
public:
    explicit TMergeWalk(TPDF417SegmentList& list) : List(list) {}

    bool AtEnd() const { return Next == List.Count; }
    TPDF417Segment* Left() { return Done > 0 ? &List.Items[Done - 1] : nullptr; }
    TPDF417Segment* Entry() { return &List.Items[Next]; }
    TPDF417Segment* Right() { return Next + 1 < List.Count ? &List.Items[Next + 1] : nullptr; }

    void Advance() { List.Items[Done++] = List.Items[Next++]; }
    void StepBack() {
        if (Done > 0) List.Items[--Next] = List.Items[--Done];
    }
    void DeleteLeft() { Done--; }
    void DeleteEntry() { Next++; }
    // The entry moves into the right neighbour's place.
    void DeleteRight() {
        List.Items[Next + 1] = List.Items[Next];
        Next++;
    }
    // Closes the gap: the walk has reached the end, every entry is examined.
    void Finish() { List.Count = Done; }

private:
    TPDF417SegmentList& List;
    int32_t Done = 0;
    int32_t Next = 0;
};

template <typename Merge> void MergeWalking(TPDF417SegmentList& list, Merge merge) {
    TMergeWalk walk(list);
    while (!walk.AtEnd())
        if (!merge(walk)) walk.Advance();
    walk.Finish();
}

// A lone non-text byte between text runs of 3 bytes or more in total
// joins them into one text run.
bool BridgeSingleByte(TMergeWalk& walk) {
    const TPDF417Segment* entry = walk.Entry();
    TPDF417Segment* left = walk.Left();
    const TPDF417Segment* right = walk.Right();
    if (!(PDF417SegmentIsKind(entry, skByte) && PDF417SegmentLength(entry) == 1 &&
          PDF417SegmentIsKind(left, skText) && PDF417SegmentIsKind(right, skText) &&
          PDF417SegmentLength(left) + PDF417SegmentLength(right) >= MinBridgingText))
        return false;
    left->End = right->End;
    walk.DeleteEntry();
    walk.DeleteEntry();
    // Back to the left neighbour of the joined run.
    walk.StepBack();
    walk.StepBack();
    return true;
}

// An entry that absorbs takes in its qualifying left, then right neighbour.
template <typename Absorbs, typename Qualifies>
bool AbsorbNeighbours(TMergeWalk& walk, Absorbs absorbs, Qualifies qualifies) {
    TPDF417Segment* entry = walk.Entry();
    if (!absorbs(entry)) return false;
    bool merged = false;
    if (const TPDF417Segment* left = walk.Left(); qualifies(left)) {
        entry->Start = left->Start;
        walk.DeleteLeft();
        merged = true;
    }
    if (const TPDF417Segment* right = walk.Right(); qualifies(right)) {
        entry->End = right->End;
        walk.DeleteRight();
        merged = true;
    }
    // Back to the left neighbour of the grown entry.
    if (merged) walk.StepBack();
    return merged;
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
    MergeWalking(list, BridgeSingleByte);
    MergeWalking(list, [](TMergeWalk& walk) {
        return AbsorbNeighbours(walk, IsLongText, [](const TPDF417Segment* neighbour) {
            return PDF417SegmentIsKind(neighbour, skText) || IsSingleByte(neighbour);
        });
    });
    MergeWalking(list, [](TMergeWalk& walk) {
        return AbsorbNeighbours(
            walk, [](const TPDF417Segment* entry) { return PDF417SegmentIsKind(entry, skByte); },
            [](const TPDF417Segment* neighbour) {
                return (PDF417SegmentIsKind(neighbour, skText) &&
                        PDF417SegmentLength(neighbour) <= MaxAbsorbedText) ||
                       PDF417SegmentIsKind(neighbour, skByte);
            });
    });
    MakeLoneDigitTextNumeric(list, data);
}
