// The engine's internal stage interfaces. Every stage works on the caller's
// TPDF417Param through the driver's working record.
#pragma once

#include "pdf417.h"

#include <cstdint>

struct TPDF417Work {
    int32_t BitPos;        // bit position in RowBits of the row being drawn
    int32_t CodewordPos;   // next free index in Codewords while compacting
    TPDF417Param* Param;
};

// One run of input bytes and its compaction mode.
struct TPDF417Segment {
    char Kind; // 'T' text, 'N' numeric, 'B' byte
    int32_t Start;
    int32_t End; // one past the last byte
};

// A growable array of runs: starts with room for 20, doubles when full.
struct TPDF417SegmentList {
    TPDF417Segment* Items;
    int32_t Count;
    int32_t Capacity;
};

inline constexpr char skText = 'T';
inline constexpr char skNumeric = 'N';
inline constexpr char skByte = 'B';

// Segment list (segment_list.cpp).
void PDF417InitSegmentList(TPDF417SegmentList& list);
void PDF417FreeSegmentList(TPDF417SegmentList& list);
void PDF417AddSegment(TPDF417SegmentList& list, char kind, int32_t start, int32_t end);
TPDF417Segment* PDF417GetSegment(TPDF417SegmentList& list, int32_t index);
void PDF417DeleteSegment(TPDF417SegmentList& list, int32_t index);
// Null stands for a missing neighbour and matches nothing. Inline: the merge
// rules of segmentation ask these of every run several times.
inline bool PDF417SegmentIsKind(const TPDF417Segment* segment, char kind) {
    return segment != nullptr && segment->Kind == kind;
}
inline int32_t PDF417SegmentLength(const TPDF417Segment* segment) {
    return segment == nullptr ? 0 : segment->End - segment->Start;
}

// Segmentation (segmentation.cpp).
void PDF417BuildSegments(TPDF417Work& work, TPDF417SegmentList& list);

// Text compaction (text_compaction.cpp).
uint32_t PDF417TextClass(const uint8_t* data, int32_t end, int32_t pos);
void PDF417TextCompaction(TPDF417Work& work, int32_t start, int32_t count);

// Numeric and byte compaction (numeric_compaction.cpp, byte_compaction.cpp).
void PDF417NumericCompaction(TPDF417Work& work, int32_t start, int32_t count);
void PDF417NumericGroup(TPDF417Work& work, int32_t start, int32_t n);
void PDF417ByteCompaction(TPDF417Work& work, int32_t start, int32_t count);
void PDF417ByteGroup(TPDF417Work& work, int32_t start);

// Codeword assembly (codeword_assembly.cpp).
void PDF417AssembleCodewords(TPDF417Work& work, TPDF417SegmentList& list);

// Error correction (error_correction.cpp). A level L adds 2^(L+1) codewords.
constexpr int32_t ErrorCorrectionCodewordsOfLevel(int32_t level) {
    return 2 << level;
}
void PDF417ComputeErrorCorrection(TPDF417Work& work, int32_t start);

// Rendering (symbol_rendering.cpp).
void PDF417RenderSymbol(TPDF417Work& work);
