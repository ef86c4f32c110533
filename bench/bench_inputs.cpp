#include "bench_inputs.h"

#include <string_view>

namespace {

std::vector<uint8_t> Bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

// The record of the main window as it starts: "无" twice, today's date twice.
std::vector<uint8_t> StartRecord() {
    return Bytes("GB0626-2005^^^^^^^\xCE\xDE^\xCE\xDE^20261211^^^20261211^^|");
}

// A filled-in record: GBK unit names, title and levels among ASCII numbers.
std::vector<uint8_t> FilledRecord() {
    return Bytes("GB0626-2005^20261211000123^"
                 "\xB9\xFA\xCE\xF1\xD4\xBA\xB0\xEC\xB9\xAB\xCC\xFC^"
                 "\xCD\xA8\xD6\xAA^"
                 "\xB9\xFA\xB0\xEC\xB7\xA2\xA1\xB2"
                 "2026\xA1\xB3"
                 "12\xBA\xC5^"
                 "\xB8\xF7\xCA\xA1\xA1\xA2\xD7\xD4\xD6\xCE\xC7\xF8\xC8\xCB\xC3\xF1\xD5\xFE\xB8\xAE^"
                 "\xB9\xD8\xD3\xDA\xD3\xA1\xB7\xA2\xD5\xFE\xCE\xF1\xB9\xAB\xBF\xAA\xB9\xA4\xD7\xF7"
                 "\xD2\xAA\xB5\xE3\xB5\xC4\xCD\xA8\xD6\xAA^"
                 "\xC3\xD8\xC3\xDC"
                 "10\xC4\xEA^"
                 "\xCC\xD8\xBC\xB1^20261211^"
                 "\xCF\xD8\xCD\xC5\xBC\xB6^"
                 "\xB9\xFA\xCE\xF1\xD4\xBA\xB0\xEC\xB9\xAB\xCC\xFC\xC3\xD8\xCA\xE9\xBE\xD6^"
                 "20261211^A-01^|");
}

// Bytes 0x80..0xFF from a fixed linear congruential sequence.
std::vector<uint8_t> HighBytes(int32_t count) {
    std::vector<uint8_t> data(static_cast<size_t>(count));
    uint32_t state = 12345;
    for (uint8_t& byte : data) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<uint8_t>(0x80u | (state >> 24));
    }
    return data;
}

std::vector<uint8_t> Repeated(std::string_view pattern, int32_t count) {
    std::vector<uint8_t> data(static_cast<size_t>(count));
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<uint8_t>(pattern[i % pattern.size()]);
    return data;
}

std::vector<TBenchInput> MakeInputs() {
    return {
        {"record46", StartRecord(), 3, 0},
        {"record180", FilledRecord(), 3, 0},
        {"bytes1108", HighBytes(1108), 3, 0},
        {"digits2710", Repeated("3141592653589793238462643383279", 2710), 3, 0},
        {"upper1850", Repeated("THEQUICKBROWNFOXJUMPSOVERLAZYDG", 1850), 3, 0},
        // 5420 runs before merging; too long for a symbol once merged, so
        // both encoders end with their "too long" report.
        {"alternating5420", Repeated("A\x80", 5420), 3, 0},
        // 496 bytes are 416 data codewords: with 29 columns the symbol is
        // 32 rows of 928 codewords, 512 of them error correction.
        {"level8x928", HighBytes(496), 8, 29},
    };
}

} // namespace

const std::vector<TBenchInput>& BenchInputs() {
    static const std::vector<TBenchInput> inputs = MakeInputs();
    return inputs;
}

const TBenchInput* FindBenchInput(const std::string& name) {
    for (const TBenchInput& input : BenchInputs())
        if (input.Name == name) return &input;
    return nullptr;
}
