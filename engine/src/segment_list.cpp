// The growable run list shared by segmentation and codeword assembly.
#include "pdf417_work.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr int32_t InitialCapacity = 20;

TPDF417Segment* AllocateSegments(int32_t capacity) {
    // malloc and clear rather than calloc, which passes by the allocator's
    // per-thread cache.
    const size_t size = static_cast<size_t>(capacity) * sizeof(TPDF417Segment);
    auto* items = static_cast<TPDF417Segment*>(std::malloc(size));
    // At most 5420 runs, in a block of at most 10240 (120 KB): running out of
    // memory for that leaves no sound way to go on, and writing through null
    // would be worse.
    if (items == nullptr) std::abort();
    std::memset(items, 0, size);
    return items;
}

} // namespace

void PDF417InitSegmentList(TPDF417SegmentList& list) {
    list.Capacity = InitialCapacity;
    list.Count = 0;
    list.Items = AllocateSegments(InitialCapacity);
}

void PDF417FreeSegmentList(TPDF417SegmentList& list) {
    std::free(list.Items);
    list.Items = nullptr;
}

void PDF417AddSegment(TPDF417SegmentList& list, char kind, int32_t start, int32_t end) {
    if (list.Count == list.Capacity) {
        int32_t capacity = list.Capacity * 2;
        TPDF417Segment* items = AllocateSegments(capacity);
        std::memcpy(items, list.Items, list.Count * sizeof(TPDF417Segment));
        std::free(list.Items);
        list.Items = items;
        list.Capacity = capacity;
    }
    list.Items[list.Count] = TPDF417Segment{kind, start, end};
    list.Count++;
}

TPDF417Segment* PDF417GetSegment(TPDF417SegmentList& list, int32_t index) {
    if (index < 0 || index >= list.Count) return nullptr;
    return &list.Items[index];
}

void PDF417DeleteSegment(TPDF417SegmentList& list, int32_t index) {
    if (index < 0 || index >= list.Count) return;
    list.Count--;
    std::memmove(&list.Items[index], &list.Items[index + 1],
                 (list.Count - index) * sizeof(TPDF417Segment));
}
