// Builds parameter records that carry ready-made codewords, so that sizing,
// error correction and rendering can be driven without compaction.
#pragma once

#include "pdf417.h"

#include <cstdint>
#include <random>
#include <string>

namespace trelvanic::test {

// `count` codewords, the descriptor included, the rest arbitrary in 0..899
// (no mode latches) from a fixed seed.
inline TPDF417Param RawCodewordParam(int32_t count, uint32_t flags = 0) {
    TPDF417Param param{};
    PDF417InitParam(&param);
    param.Flags = efRawCodewords | flags;
    std::mt19937 random(static_cast<uint32_t>(count));
    for (int32_t& codeword : param.Codewords)
        codeword = static_cast<int32_t>(random() % 900);
    param.Codewords[0] = count;
    param.CodewordCount = count;
    return param;
}

// An even number of upper-case letters as text compaction codewords, two
// letters a codeword (30 x first + second, A = 0): a symbol the decoder must
// read back as the letters, built without the engine's own compaction.
inline TPDF417Param LetterCodewordParam(const std::string& letters, uint32_t flags = 0) {
    TPDF417Param param{};
    PDF417InitParam(&param);
    param.Flags = efRawCodewords | flags;
    int32_t count = 1;
    for (size_t i = 0; i < letters.size(); i += 2) {
        param.Codewords[count++] = 30 * (letters[i] - 'A') + (letters[i + 1] - 'A');
    }
    param.Codewords[0] = count;
    param.CodewordCount = count;
    return param;
}

} // namespace trelvanic::test
