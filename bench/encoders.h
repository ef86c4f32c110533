// One encoding of a bench input, from input bytes to the module matrix in
// memory, by our engine and by the peer library. Both are asked for the
// same level (and the same columns where the input fixes them) and choose
// the rest themselves.
#pragma once

#include "bench_inputs.h"

#include <cstdint>

struct zint_symbol;

struct TEncodeOutcome {
    bool Encoded;
    int32_t Rows;
    int32_t Columns;
    int32_t ErrorLevel;
};

// PDF417InitParam, PDF417Encode and PDF417FreeParam.
TEncodeOutcome EncodeWithEngine(const TBenchInput& input);

// Keeps one peer symbol for all encodings: ZBarcode_Clear, then
// ZBarcode_Encode without buffer or print.
class TPeerEncoder {
public:
    TPeerEncoder();
    ~TPeerEncoder();
    TPeerEncoder(const TPeerEncoder&) = delete;
    TPeerEncoder& operator=(const TPeerEncoder&) = delete;

    TEncodeOutcome Encode(const TBenchInput& input);

    // The peer refuses a level whose error correction leaves too little
    // room, where our engine lowers it to what fits: this is the requested
    // level or the highest below it that the peer accepts for the input.
    int32_t AcceptedLevel(const TBenchInput& input);

private:
    zint_symbol* Symbol;
};
