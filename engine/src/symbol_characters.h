// The bar patterns of PDF417 symbol characters (ISO/IEC 15438, Annex A, and the
// start and stop characters of its symbol structure clause).
//
// A pattern is a whole number whose highest used bit is the leftmost module;
// a set bit is a bar.
#pragma once

#include <cstdint>

inline constexpr int SymbolCharacterModules = 17;
inline constexpr int StopPatternModules = 18;

// 81111113 and 711311121 as bar/space widths; every row carries both.
inline constexpr uint32_t StartPattern = 0x1FEA8;
inline constexpr uint32_t StopPattern = 0x3FA29;

// One array per row cluster (0, 3 and 6), indexed by codeword value 0..928.
// Generated from the standard's table by tools/gen_symbol_characters.py.
extern const uint32_t ClusterPatterns[3][929];

// Guards the committed table against edits: every entry has four bars and four
// spaces of 1..6 modules, starts with a bar, ends with a space, carries its
// array's cluster number (b1 - b2 + b3 - b4 mod 9 is 0, 3 or 6), and no pattern
// occurs twice.
constexpr bool SymbolCharacterTableIsWellFormed(const uint32_t (&patterns)[3][929]) {
    bool seen[1u << SymbolCharacterModules] = {};
    for (int cluster = 0; cluster < 3; ++cluster) {
        for (const uint32_t pattern : patterns[cluster]) {
            if (pattern >> SymbolCharacterModules != 0 || seen[pattern]) return false;
            seen[pattern] = true;
            int widths[8] = {};
            int run = -1;
            uint32_t previous = 0;
            for (int bit = SymbolCharacterModules - 1; bit >= 0; --bit) {
                const uint32_t module = (pattern >> bit) & 1u;
                if (run < 0 || module != previous) {
                    if (++run == 8) return false;
                    previous = module;
                }
                ++widths[run];
            }
            if (run != 7 || previous != 0 || (pattern >> (SymbolCharacterModules - 1)) == 0)
                return false;
            for (const int width : widths)
                if (width > 6) return false;
            const int clusterNumber = (widths[0] - widths[2] + widths[4] - widths[6] + 9) % 9;
            if (clusterNumber != 3 * cluster) return false;
        }
    }
    return true;
}
