#include "symbol_formats.h"

#include "cli_error.h"
#include "hex.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>

#include <cstring>
#include <string_view>
#include <vector>

namespace {

bool IsInverted(const TPDF417Param& param) {
    return (param.Flags & efInvertBitmap) != 0;
}

int32_t BytesPerRow(const TPDF417Param& param) {
    return param.RowBitsSize / param.Rows;
}

bool ModuleIsSet(const TPDF417Param& param, int32_t row, int32_t module) {
    const uint8_t byte = param.RowBits[row * BytesPerRow(param) + module / 8];
    return ((byte >> (7 - module % 8)) & 1) != 0;
}

// Pixels packed 8 to a byte, most significant bit first, a set bit black:
// both PBM P4 and QImage::Format_Mono lay out their lines this way.
struct TRaster {
    int64_t Width = 0;
    int64_t Height = 0;
    int64_t BytesPerLine = 0;
    std::vector<uint8_t> Bits;
};

TRaster Rasterize(const TPDF417Param& param, const TPictureLayout& layout) {
    TRaster raster;
    raster.Width = PictureWidth(param, layout);
    raster.Height = PictureHeight(param, layout);
    raster.BytesPerLine = (raster.Width + 7) / 8;
    raster.Bits.assign(static_cast<size_t>(raster.BytesPerLine * raster.Height), 0);
    const bool quietBlack = IsInverted(param);
    const int64_t modulesPerLine = param.RowWidth + 2 * int64_t{layout.QuietZone};
    const int64_t quietLines = int64_t{layout.QuietZone} * layout.DotSize;
    const int64_t linesPerRow = int64_t{layout.LineHeight} * layout.DotSize;

    const auto fillLine = [&](uint8_t* line, int32_t row) {
        for (int64_t m = 0; m < modulesPerLine; ++m) {
            const int64_t module = m - layout.QuietZone;
            const bool black = row < 0 || module < 0 || module >= param.RowWidth
                                   ? quietBlack
                                   : ModuleIsSet(param, row, static_cast<int32_t>(module));
            if (!black) continue;
            for (int64_t x = m * layout.DotSize; x < (m + 1) * layout.DotSize; ++x) {
                line[x / 8] = static_cast<uint8_t>(line[x / 8] | (0x80u >> (x % 8)));
            }
        }
    };
    // Each pixel line repeats the one above unless it starts a symbol row or the quiet zone.
    int32_t previousRow = -2;
    for (int64_t y = 0; y < raster.Height; ++y) {
        uint8_t* line = raster.Bits.data() + y * raster.BytesPerLine;
        const int64_t symbolY = y - quietLines;
        const int32_t row = symbolY >= 0 && symbolY < param.Rows * linesPerRow
                                ? static_cast<int32_t>(symbolY / linesPerRow)
                                : -1;
        if (row == previousRow) {
            std::memcpy(line, line - raster.BytesPerLine, static_cast<size_t>(raster.BytesPerLine));
        } else {
            fillLine(line, row);
        }
        previousRow = row;
    }
    return raster;
}

std::string ToPbm(const TRaster& raster) {
    std::string pbm =
        "P4\n" + std::to_string(raster.Width) + " " + std::to_string(raster.Height) + "\n";
    pbm.append(reinterpret_cast<const char*>(raster.Bits.data()), raster.Bits.size());
    return pbm;
}

std::string ToPng(const TRaster& raster) {
    QImage image(static_cast<int>(raster.Width), static_cast<int>(raster.Height),
                 QImage::Format_Mono);
    if (image.isNull())
        throw CliError(ExitCode::Failure, "There is not enough memory for the picture.");
    image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)}); // index 1, a set bit, is black
    for (int y = 0; y < image.height(); ++y) {
        std::memcpy(image.scanLine(y), raster.Bits.data() + y * raster.BytesPerLine,
                    static_cast<size_t>(raster.BytesPerLine));
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image)) {
        throw CliError(ExitCode::Failure, "The PNG picture could not be made: " +
                                              writer.errorString().toStdString() + ".");
    }
    return buffer.data().toStdString();
}

// One path of rectangles, a rectangle per run of like modules in a row, on a
// background of the quiet zone's colour: exact at any scale.
std::string ToSvg(const TPDF417Param& param, const TPictureLayout& layout) {
    const std::string width = std::to_string(PictureWidth(param, layout));
    const std::string height = std::to_string(PictureHeight(param, layout));
    const bool quietBlack = IsInverted(param);
    const int64_t dot = layout.DotSize;
    const int64_t rowHeight = int64_t{layout.LineHeight} * dot;
    std::string path;
    for (int32_t row = 0; row < param.Rows; ++row) {
        const int64_t y = layout.QuietZone * dot + row * rowHeight;
        for (int32_t m = 0; m < param.RowWidth;) {
            if (ModuleIsSet(param, row, m) == quietBlack) {
                ++m;
                continue;
            }
            const int32_t start = m;
            while (m < param.RowWidth && ModuleIsSet(param, row, m) != quietBlack)
                ++m;
            path += "M" + std::to_string((layout.QuietZone + start) * dot) + " " +
                    std::to_string(y) + "h" + std::to_string((m - start) * dot) + "v" +
                    std::to_string(rowHeight) + "h-" + std::to_string((m - start) * dot) + "z";
        }
    }
    const std::string_view background = quietBlack ? "#000000" : "#FFFFFF";
    const std::string_view ink = quietBlack ? "#FFFFFF" : "#000000";
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
           width + "\" height=\"" + height + "\" viewBox=\"0 0 " + width + " " + height +
           "\" shape-rendering=\"crispEdges\">\n"
           "<rect width=\"" +
           width + "\" height=\"" + height + "\" fill=\"" + std::string(background) +
           "\"/>\n"
           "<path fill=\"" +
           std::string(ink) + "\" d=\"" + path +
           "\"/>\n"
           "</svg>\n";
}

} // namespace

std::string SymbolInfo(const TPDF417Param& param) {
    std::string info = "error " + std::to_string(param.ErrorCode) + "\nrows " +
                       std::to_string(param.Rows) + "\ncolumns " + std::to_string(param.Columns) +
                       "\nlevel " + std::to_string(param.ErrorLevel) + "\ndata_length " +
                       std::to_string((param.Flags & efRawCodewords) != 0 ? 0 : param.DataLength) +
                       "\nrow_width " + std::to_string(param.RowWidth) + "\ncodewords";
    for (int32_t i = 0; i < param.Rows * param.Columns; ++i)
        info += " " + std::to_string(param.Codewords[i]);
    info += "\n";
    const auto* rowBits = reinterpret_cast<const char*>(param.RowBits);
    for (int32_t row = 0; row < param.Rows; ++row) {
        info += "row " +
                ToHex(std::string_view(rowBits + row * BytesPerRow(param),
                                       static_cast<size_t>(BytesPerRow(param)))) +
                "\n";
    }
    return info;
}

int64_t PictureWidth(const TPDF417Param& param, const TPictureLayout& layout) {
    return (param.RowWidth + 2 * int64_t{layout.QuietZone}) * layout.DotSize;
}

int64_t PictureHeight(const TPDF417Param& param, const TPictureLayout& layout) {
    return (int64_t{param.Rows} * layout.LineHeight + 2 * int64_t{layout.QuietZone}) *
           layout.DotSize;
}

std::string SymbolPicture(const TPDF417Param& param, const TPictureLayout& layout,
                          TPictureFormat format) {
    const int64_t width = PictureWidth(param, layout);
    const int64_t height = PictureHeight(param, layout);
    if (width > MaxPictureSide || height > MaxPictureSide) {
        throw CliError(
            ExitCode::Usage,
            "The picture would be " + std::to_string(width) + " x " + std::to_string(height) +
                " pixels, more than " + std::to_string(MaxPictureSide) +
                " on a side. Choose a smaller --dot-size, --line-height or --quiet-zone.");
    }
    switch (format) {
    case TPictureFormat::Png:
        return ToPng(Rasterize(param, layout));
    case TPictureFormat::Pbm:
        return ToPbm(Rasterize(param, layout));
    case TPictureFormat::Svg:
        return ToSvg(param, layout);
    }
    return {};
}
