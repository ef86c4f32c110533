// Rendering by the literal layout: every module of every pattern set one bit
// at a time. Kept only to prove the engine's whole-byte writes equal to it.
#pragma once

#include "pdf417.h"
#include "symbol_characters.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace reference {

// The packed bit rows of a Rows x Columns matrix of Codewords at ErrorLevel,
// complemented with efInvertBitmap.
inline std::vector<uint8_t> RenderSymbol(const TPDF417Param& param) {
    const int32_t rowWidth = 17 * param.Columns + 69;
    const int32_t bytesPerRow = (rowWidth + 7) / 8;
    std::vector<uint8_t> bits(static_cast<std::size_t>(bytesPerRow * param.Rows), 0);
    for (int32_t r = 0; r < param.Rows; ++r) {
        int32_t module = r * bytesPerRow * 8;
        const auto put = [&](uint32_t pattern, int32_t modules) {
            for (int32_t i = 0; i < modules; ++i, ++module)
                if ((pattern >> (modules - 1 - i)) & 1u)
                    bits[static_cast<std::size_t>(module / 8)] |=
                        static_cast<uint8_t>(0x80u >> (module % 8));
        };
        const uint32_t* cluster = ClusterPatterns[r % 3];
        const int32_t base = 30 * (r / 3);
        const int32_t rowsPart = (param.Rows - 1) / 3;
        const int32_t levelPart = 3 * param.ErrorLevel + (param.Rows - 1) % 3;
        const int32_t columnsPart = param.Columns - 1;
        const int32_t left[3] = {rowsPart, levelPart, columnsPart};
        const int32_t right[3] = {columnsPart, rowsPart, levelPart};
        put(StartPattern, 17);
        put(cluster[base + left[r % 3]], 17);
        for (int32_t c = 0; c < param.Columns; ++c)
            put(cluster[param.Codewords[r * param.Columns + c]], 17);
        put(cluster[base + right[r % 3]], 17);
        put(StopPattern, 18);
    }
    if (param.Flags & efInvertBitmap)
        for (uint8_t& byte : bits)
            byte = static_cast<uint8_t>(~byte);
    return bits;
}

} // namespace reference
