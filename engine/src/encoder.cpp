// The encoding driver: input checks, compaction, sizing, padding, error
// correction and rendering, in that order.
#include "pdf417_work.h"
#include "symbol_sizing.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// Raw codewords must be counted by their own descriptor, and each must have a
// symbol character, before anything is written.
bool RawCodewordsAreValid(const TPDF417Param& param) {
    if (param.CodewordCount < 1 || param.CodewordCount > PDF417MaxDataCodewords ||
        param.CodewordCount != param.Codewords[0])
        return false;
    for (int32_t i = 1; i < param.CodewordCount; ++i)
        if (param.Codewords[i] < 0 || param.Codewords[i] > PDF417MaxCodewordValue) return false;
    return true;
}

// The bytes before the first zero byte; a null Data reads as empty. Saturates
// so that a giant string cannot wrap to a negative length and pass the limit.
int32_t MeasuredLength(const uint8_t* data) {
    if (!data) return 0;
    const size_t length = std::strlen(reinterpret_cast<const char*>(data));
    return static_cast<int32_t>(std::min<size_t>(length, INT32_MAX));
}

// Segments and compacts Data into Codewords; false when it does not fit.
bool CompactData(TPDF417Work& work) {
    TPDF417Param& param = *work.Param;
    if (param.DataLength < 0) param.DataLength = MeasuredLength(param.Data);
    if (param.DataLength > PDF417MaxDataLength) {
        param.ErrorCode = ecTextTooLong;
        return false;
    }

    // Assembly leaves CodewordPos alone on empty input: the symbol then holds
    // the length descriptor alone.
    work.CodewordPos = 1;
    TPDF417SegmentList list;
    PDF417InitSegmentList(list);
    PDF417BuildSegments(work, list);
    PDF417AssembleCodewords(work, list);
    PDF417FreeSegmentList(list);
    if (param.ErrorCode != ecSuccess) return false;

    param.CodewordCount = work.CodewordPos;
    param.Codewords[0] = work.CodewordPos;
    return true;
}

int32_t AutomaticErrorLevel(int32_t codewordCount) {
    if (codewordCount <= 40) return 2;
    if (codewordCount <= 160) return 3;
    if (codewordCount <= 320) return 4;
    return 5;
}

// The wanted height over width, clamped, written back; a NaN means the default.
double ClampAspectRatio(TPDF417Param& param) {
    if (std::isnan(param.AspectRatio)) param.AspectRatio = DefaultAspectRatio;
    if (param.AspectRatio < MinAspectRatio) param.AspectRatio = MinAspectRatio;
    if (param.AspectRatio > MaxAspectRatio) param.AspectRatio = MaxAspectRatio;
    return param.AspectRatio;
}

// A row height of zero or less (or NaN) has no shape to aim for: the default.
double UsableRowHeightRatio(double rowHeightRatio) {
    return rowHeightRatio > 0.0 ? rowHeightRatio : DefaultRowHeightRatio;
}

// Keeps one dimension and derives the other for `capacity` codewords; returns
// the capacity of the resulting rectangle.
int32_t DeriveDimension(TPDF417Param& param, int32_t capacity, bool deriveColumns) {
    const int32_t m = capacity - 1;
    if (deriveColumns) {
        param.Columns = m / param.Rows + 1;
        if (param.Columns > PDF417MaxColumns) {
            param.Columns = PDF417MaxColumns;
            param.Rows = m / PDF417MaxColumns + 1;
        }
    } else {
        param.Rows = m / param.Columns + 1;
        if (param.Rows < PDF417MinRows) param.Rows = PDF417MinRows;
        if (param.Rows > PDF417MaxRows) {
            param.Rows = PDF417MaxRows;
            param.Columns = m / PDF417MaxRows + 1;
        }
    }
    return param.Rows * param.Columns;
}

template <typename T> void Clamp(T& value, T low, T high) {
    if (value < low) value = low;
    if (value > high) value = high;
}

} // namespace

void PDF417Encode(TPDF417Param* param) {
    param->ErrorCode = ecSuccess;
    TPDF417Work work{};
    work.Param = param;

    if (param->Flags & efRawCodewords) {
        if (!RawCodewordsAreValid(*param)) {
            param->ErrorCode = ecBadRawCodewords;
            return;
        }
    } else if (!CompactData(work)) {
        return;
    }

    // The level that steers the size; the level written is decided at the end.
    const int32_t maxLevel = PDF417MaxErrorLevel(PDF417MaxCodewords - param->CodewordCount);
    if (!(param->Flags & efUseErrorLevel))
        param->ErrorLevel = AutomaticErrorLevel(param->CodewordCount);
    Clamp(param->ErrorLevel, 0, maxLevel);
    Clamp(param->Columns, int32_t{PDF417MinColumns}, int32_t{PDF417MaxColumns});
    Clamp(param->Rows, int32_t{PDF417MinRows}, int32_t{PDF417MaxRows});
    const int32_t need = param->CodewordCount + ErrorCorrectionCodewordsOfLevel(param->ErrorLevel);
    const bool deriveColumns = (param->Flags & efFixedRows) != 0;

    int32_t capacity = need;
    if (param->Flags & efFixedRectangle) {
        capacity = param->Rows * param->Columns;
        if (capacity > PDF417MaxCodewords) capacity = PDF417UseMaxRectangle(param);
        if (capacity < need) capacity = DeriveDimension(*param, need, deriveColumns);
    } else if (param->Flags & (efFixedColumns | efFixedRows)) {
        capacity = DeriveDimension(*param, need, deriveColumns);
    } else {
        const double aspectRatio = ClampAspectRatio(*param);
        param->Columns = PDF417ColumnsForAspectRatio(
            aspectRatio, UsableRowHeightRatio(param->RowHeightRatio), need);
        capacity = DeriveDimension(*param, need, false);
    }
    if (capacity > PDF417MaxCodewords) capacity = PDF417UseMaxRectangle(param);

    // Room the data leave goes to error correction before padding.
    param->ErrorLevel = PDF417MaxErrorLevel(capacity - param->CodewordCount);
    const int32_t pad =
        capacity - ErrorCorrectionCodewordsOfLevel(param->ErrorLevel) - param->CodewordCount;
    for (int32_t i = 0; i < pad; ++i)
        param->Codewords[param->CodewordCount + i] = PDF417PadCodeword;
    param->CodewordCount += pad;
    param->Codewords[0] = param->CodewordCount;

    PDF417ComputeErrorCorrection(work, param->CodewordCount);
    param->CodewordCount = capacity;
    PDF417RenderSymbol(work);
}
