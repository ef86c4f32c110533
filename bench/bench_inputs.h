// The inputs that the engine is measured on, beside its peer: the two
// document records of everyday use, the largest inputs of each compaction
// mode, and the worst cases of segmentation and error correction.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TBenchInput {
    std::string Name;
    std::vector<uint8_t> Data;
    int32_t ErrorLevel; // the level requested from both encoders
    int32_t Columns;    // data columns requested from both, 0 lets each choose
};

const std::vector<TBenchInput>& BenchInputs();

// The input of that name, or null.
const TBenchInput* FindBenchInput(const std::string& name);
