// The sizing rules of the driver that stand on their own: the column formula.
#pragma once

#include <cstdint>

inline constexpr double DefaultAspectRatio = 0.5;
inline constexpr double DefaultRowHeightRatio = 3.0;
inline constexpr double MinAspectRatio = 0.001;
inline constexpr double MaxAspectRatio = 1000.0;

// The column count, clamped to 1..30, whose symbol of `codewords` codewords
// (data and error correction) comes nearest to height / width = aspectRatio
// when a row is rowHeightRatio modules high.
int32_t PDF417ColumnsForAspectRatio(double aspectRatio, double rowHeightRatio, int32_t codewords);
