// The engine's numeric and byte groups against the literal base-900
// arithmetic, on seeded random digits and bytes biased to the extremes.
#include "reference/compaction_reference.h"
#include "stage_input.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using trelvanic::test::TStageInput;

TEST(CompactionDifferential, NumericGroupsMatchTheLiteralArithmetic) {
    std::mt19937 random(44);
    for (int32_t n = 1; n <= 44; ++n) {
        for (int round = 0; round < 300; ++round) {
            // All nines and all zeros are the largest and smallest group values.
            const char only = round == 0 ? '9' : round == 1 ? '0' : 0;
            std::string digits;
            for (int32_t i = 0; i < n; ++i)
                digits += only ? only : static_cast<char>('0' + random() % 10);
            SCOPED_TRACE(digits);
            TStageInput input(digits);
            PDF417NumericGroup(input.Work, 0, n);
            ASSERT_EQ(input.Written(),
                      reference::NumericGroup(input.Param.Data, n));
        }
    }
}

TEST(CompactionDifferential, ByteGroupsMatchTheLiteralArithmetic) {
    std::mt19937 random(6);
    for (int round = 0; round < 20000; ++round) {
        std::string bytes;
        for (int i = 0; i < 6; ++i) {
            const uint32_t pick = random() % 4;
            bytes += static_cast<char>(pick == 0 ? 0x00 : pick == 1 ? 0xFF : random() % 256);
        }
        SCOPED_TRACE("round " + std::to_string(round));
        TStageInput input(bytes);
        PDF417ByteGroup(input.Work, 0);
        ASSERT_EQ(input.Written(), reference::ByteGroup(input.Param.Data));
    }
}
