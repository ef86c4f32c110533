// Reads PDF417 symbols back with an independent decoder (zxing-cpp), so tests
// can prove that what we draw scans to the exact input bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace trelvanic::test {

struct DecodedSymbol {
    bool Ok = false;
    std::vector<uint8_t> Bytes; // the symbol's content, byte for byte
    std::string Error;
};

// Decodes an 8-bit grey image (0 black, 255 white), one byte per pixel.
DecodedSymbol DecodePDF417Image(const uint8_t* grey, int width, int height, int stride);

// Draws packed bit rows (most significant bit first, a set bit a bar unless
// inverted) as a printed symbol would look: a quiet zone of white modules on
// each side and every module a block of dot x (dot * lineHeight) pixels.
DecodedSymbol DecodePDF417Rows(const uint8_t* rowBits, int rowWidth, int rows,
                               bool inverted = false, int dot = 3, int lineHeight = 3,
                               int quietZone = 2);

std::string Hex(const std::vector<uint8_t>& bytes);

} // namespace trelvanic::test
