// The encode command's output formats for an encoded symbol: a text report
// of the engine's result, and PNG, SVG and PBM pictures.
#pragma once

#include "pdf417.h"

#include <cstdint>
#include <string>

// Lines "error E", "rows R", "columns C", "level L", "data_length N",
// "row_width W", "codewords ..." (all Rows x Columns, decimal), then one
// "row HEX" per symbol row: that row's packed bytes in uppercase hex.
std::string SymbolInfo(const TPDF417Param& param);

// How the symbol is drawn: pixels per module, modules per row height, and
// the white modules around it.
struct TPictureLayout {
    int32_t DotSize = 1;
    int32_t LineHeight = 3;
    int32_t QuietZone = 2;
};

// The picture's size in pixels; SymbolPicture refuses a side above this.
inline constexpr int64_t MaxPictureSide = 16384;
int64_t PictureWidth(const TPDF417Param& param, const TPictureLayout& layout);
int64_t PictureHeight(const TPDF417Param& param, const TPictureLayout& layout);

enum class TPictureFormat { Png, Svg, Pbm };

// A set bit of RowBits is black, as in the control's bitmap; the quiet zone
// takes the colour of a space (black when the symbol was inverted). Throws
// CliError (usage) when the picture would be too large.
std::string SymbolPicture(const TPDF417Param& param, const TPictureLayout& layout,
                          TPictureFormat format);
