#include "encoders.h"

#include "pdf417.h"

#include <zint.h>

TEncodeOutcome EncodeWithEngine(const TBenchInput& input) {
    TPDF417Param param;
    PDF417InitParam(&param);
    param.Data = input.Data.data();
    param.DataLength = static_cast<int32_t>(input.Data.size());
    param.Flags = efUseErrorLevel;
    param.ErrorLevel = input.ErrorLevel;
    if (input.Columns > 0) {
        param.Flags |= efFixedColumns;
        param.Columns = input.Columns;
    }
    PDF417Encode(&param);
    const TEncodeOutcome outcome{param.ErrorCode == ecSuccess, param.Rows, param.Columns,
                                 param.ErrorLevel};
    PDF417FreeParam(&param);
    return outcome;
}

TPeerEncoder::TPeerEncoder() : Symbol(ZBarcode_Create()) {}

TPeerEncoder::~TPeerEncoder() {
    ZBarcode_Delete(Symbol);
}

TEncodeOutcome TPeerEncoder::Encode(const TBenchInput& input) {
    ZBarcode_Clear(Symbol);
    Symbol->symbology = BARCODE_PDF417;
    Symbol->input_mode = DATA_MODE;
    Symbol->option_1 = input.ErrorLevel;
    Symbol->option_2 = input.Columns;
    const int result =
        ZBarcode_Encode(Symbol, input.Data.data(), static_cast<int>(input.Data.size()));
    // Every row is start 17 + two indicators 34 + 17 per column + stop 18.
    return {result < ZINT_ERROR, Symbol->rows, (Symbol->width - 69) / 17, Symbol->option_1};
}

int32_t TPeerEncoder::AcceptedLevel(const TBenchInput& input) {
    TBenchInput trial = input;
    for (; trial.ErrorLevel > 0; --trial.ErrorLevel)
        if (Encode(trial).Encoded) break;
    return trial.ErrorLevel;
}
