// Turns the run list into the data codewords, each run behind its mode latch.
#include "compaction_modes.h"
#include "pdf417_work.h"

void PDF417AssembleCodewords(TPDF417Work& work, TPDF417SegmentList& list) {
    if (list.Count == 0) return;
    TPDF417Param& param = *work.Param;
    work.CodewordPos = 1; // index 0 is the symbol length descriptor
    for (int32_t i = 0; i < list.Count; ++i) {
        const TPDF417Segment& run = *PDF417GetSegment(list, i);
        const int32_t length = PDF417SegmentLength(&run);
        switch (run.Kind) {
        case skByte:
            param.Codewords[work.CodewordPos++] =
                length % BytesPerByteGroup == 0 ? cwByteLatch6 : cwByteLatch;
            PDF417ByteCompaction(work, run.Start, length);
            break;
        case skNumeric:
            param.Codewords[work.CodewordPos++] = cwNumericLatch;
            PDF417NumericCompaction(work, run.Start, length);
            break;
        case skText:
            // A symbol starts in text compaction, so a leading text run needs no latch.
            if (i > 0) param.Codewords[work.CodewordPos++] = cwTextLatch;
            PDF417TextCompaction(work, run.Start, length);
            break;
        default:
            break;
        }
        if (param.ErrorCode != ecSuccess) return;
    }
}
