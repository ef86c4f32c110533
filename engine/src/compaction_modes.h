// What the compaction modes of ISO/IEC 15438 (Data compaction modes) share:
// their latch and shift codewords, and the base-900 digits that numeric and
// byte compaction write.
#pragma once

#include <cstdint>

inline constexpr int32_t cwTextLatch = 900;    // text compaction, alpha sub-mode
inline constexpr int32_t cwByteLatch = 901;    // byte compaction, any byte count
inline constexpr int32_t cwNumericLatch = 902; // numeric compaction
inline constexpr int32_t cwByteShift = 913;    // one byte inside text compaction
inline constexpr int32_t cwByteLatch6 = 924;   // byte compaction, a multiple of 6 bytes

// Numeric and byte compaction write numbers as base-900 digits, one a codeword.
inline constexpr int32_t CompactionBase = 900;

// Byte compaction packs this many bytes into five codewords; 924 announces a
// run made of whole groups.
inline constexpr int32_t BytesPerByteGroup = 6;
