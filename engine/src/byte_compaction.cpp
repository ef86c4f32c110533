// Byte compaction (ISO/IEC 15438, Byte Compaction mode): six bytes as one 48-bit number in
// five base-900 codewords, a shorter rest one codeword per byte.
#include "compaction_modes.h"
#include "pdf417_work.h"

namespace {

constexpr int32_t CodewordsPerGroup = 5;

} // namespace

void PDF417ByteCompaction(TPDF417Work& work, int32_t start, int32_t count) {
    const int32_t need = count / BytesPerByteGroup * CodewordsPerGroup + count % BytesPerByteGroup;
    if (work.CodewordPos + need > PDF417MaxDataCodewords) {
        work.Param->ErrorCode = ecTextTooLong;
        return;
    }
    const int32_t end = start + count;
    int32_t pos = start;
    for (; end - pos >= BytesPerByteGroup; pos += BytesPerByteGroup)
        PDF417ByteGroup(work, pos);
    for (; pos < end; ++pos)
        work.Param->Codewords[work.CodewordPos++] = work.Param->Data[pos];
}

void PDF417ByteGroup(TPDF417Work& work, int32_t start) {
    // The six bytes as one 48-bit number, first byte highest; 256^6 < 900^5, so
    // its five base-900 digits are the codewords, the first below 900.
    const uint8_t* bytes = work.Param->Data + start;
    uint64_t value = 0;
    for (int32_t i = 0; i < BytesPerByteGroup; ++i)
        value = value << 8 | bytes[i];
    int32_t* slots = &work.Param->Codewords[work.CodewordPos];
    work.CodewordPos += CodewordsPerGroup;
    for (int32_t j = CodewordsPerGroup - 1; j >= 0; --j) {
        slots[j] = static_cast<int32_t>(value % CompactionBase);
        value /= CompactionBase;
    }
}
