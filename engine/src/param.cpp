// Defaults and release of the caller's parameter record.
#include "pdf417.h"

#include <cstdlib>

namespace {
const uint8_t EmptyText[1] = {0};
}

void PDF417InitParam(TPDF417Param* param) {
    param->Flags = 0;
    param->RowBits = nullptr;
    param->RowBitsSize = 0;
    param->ErrorCode = ecSuccess;
    param->DataLength = -1;
    param->Data = EmptyText;
    param->RowHeightRatio = 3.0;
    param->AspectRatio = 0.5;
}

void PDF417FreeParam(TPDF417Param* param) {
    // RowBits comes from malloc so that a C caller's record frees the same way.
    std::free(param->RowBits);
    param->RowBits = nullptr;
}
