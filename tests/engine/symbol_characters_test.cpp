#include "symbol_characters.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Bar/space widths, bar first, of the `modules` low bits of a pattern.
std::string Widths(uint32_t pattern, int modules) {
    std::string widths;
    int run = 0;
    uint32_t previous = (pattern >> (modules - 1)) & 1u;
    for (int bit = modules - 1; bit >= 0; --bit) {
        const uint32_t module = (pattern >> bit) & 1u;
        if (module != previous) {
            widths += static_cast<char>('0' + run);
            run = 0;
            previous = module;
        }
        ++run;
    }
    return widths + static_cast<char>('0' + run);
}

TEST(SymbolCharacters, MatchThePublishedRows) {
    struct Case {
        int Codeword;
        const char* Widths[3];
        uint32_t Patterns[3];
    };
    const Case cases[] = {
        {0, {"31111136", "51111125", "21111155"}, {0x1D5C0, 0x1F560, 0x1ABE0}},
        {1, {"41111144", "61111133", "31111163"}, {0x1EAF0, 0x1FAB8, 0x1D5F8}},
        {900, {"14232212", "11611124", "23521211"}, {0x10C64, 0x17EB0, 0x18F92}},
        {928, {"21514112", "12621221", "33611111"}, {0x1BEF4, 0x13F26, 0x1C7EA}},
    };
    for (const Case& c : cases) {
        for (int cluster = 0; cluster < 3; ++cluster) {
            SCOPED_TRACE(::testing::Message()
                         << "codeword " << c.Codeword << ", cluster " << 3 * cluster);
            const uint32_t pattern = ClusterPatterns[cluster][c.Codeword];
            EXPECT_EQ(pattern, c.Patterns[cluster]);
            EXPECT_EQ(Widths(pattern, SymbolCharacterModules), c.Widths[cluster]);
        }
    }
}

TEST(SymbolCharacters, StartAndStopPatterns) {
    EXPECT_EQ(Widths(StartPattern, SymbolCharacterModules), "81111113");
    EXPECT_EQ(Widths(StopPattern, StopPatternModules), "711311121");
}

} // namespace
