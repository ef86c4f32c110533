#include "pdf417_decoder.h"

#include <ZXing/ReadBarcode.h>

#include <cstdio>

namespace trelvanic::test {

DecodedSymbol DecodePDF417Image(const uint8_t* grey, int width, int height, int stride) {
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::PDF417);
    hints.setTryHarder(true);
    hints.setTryRotate(false);
    // bytes() hands back the symbol's content unchanged, whatever the character set.
    ZXing::ImageView view(grey, width, height, ZXing::ImageFormat::Lum, stride);
    const ZXing::Result result = ZXing::ReadBarcode(view, hints);
    DecodedSymbol decoded;
    if (!result.isValid()) {
        decoded.Error = "no PDF417 symbol decoded";
        return decoded;
    }
    decoded.Ok = true;
    decoded.Bytes.assign(result.bytes().begin(), result.bytes().end());
    return decoded;
}

DecodedSymbol DecodePDF417Rows(const uint8_t* rowBits, int rowWidth, int rows, bool inverted,
                               int dot, int lineHeight, int quietZone) {
    const int bytesPerRow = (rowWidth + 7) / 8;
    const int width = (rowWidth + 2 * quietZone) * dot;
    const int height = rows * lineHeight * dot + 2 * quietZone * dot;
    std::vector<uint8_t> grey(static_cast<size_t>(width) * static_cast<size_t>(height), 255);
    for (int r = 0; r < rows; ++r) {
        for (int m = 0; m < rowWidth; ++m) {
            const bool set = (rowBits[r * bytesPerRow + m / 8] >> (7 - m % 8)) & 1;
            if (set == inverted) continue;
            for (int y = 0; y < lineHeight * dot; ++y) {
                uint8_t* line = &grey[static_cast<size_t>((quietZone * dot + r * lineHeight * dot + y)) * width];
                for (int x = 0; x < dot; ++x) line[(quietZone + m) * dot + x] = 0;
            }
        }
    }
    return DecodePDF417Image(grey.data(), width, height, width);
}

std::string Hex(const std::vector<uint8_t>& bytes) {
    std::string out;
    char buf[4];
    for (uint8_t b : bytes) {
        std::snprintf(buf, sizeof buf, "%02X ", b);
        out += buf;
    }
    if (!out.empty()) out.pop_back();
    return out;
}

} // namespace trelvanic::test
