// An encoding record set up for calling the engine's front stages directly.
#pragma once

#include "pdf417_work.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace trelvanic::test {

// Input bytes written as text with {hh} for a single byte in hex, so that
// "AB{01}CD" reads like 'AB', 0x01, 'CD'. A literal brace is {7B} or {7D}.
inline std::string Bytes(std::string_view text) {
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '{') {
            bytes += static_cast<char>(std::stoi(std::string(text.substr(i + 1, 2)), nullptr, 16));
            i += 3;
        } else {
            bytes += text[i];
        }
    }
    return bytes;
}

// Fills Codewords before a stage runs, so a test sees which slots it wrote.
inline constexpr int32_t Untouched = -1;

// Owns the input bytes, the parameter record and the working record that
// points at it; the working record starts where the assembly would, at 1.
struct TStageInput {
    std::string Bytes;
    TPDF417Param Param{};
    TPDF417Work Work{0, 1, &Param};

    explicit TStageInput(std::string bytes) : Bytes(std::move(bytes)) {
        PDF417InitParam(&Param);
        Param.Data = reinterpret_cast<const uint8_t*>(Bytes.data());
        Param.DataLength = static_cast<int32_t>(Bytes.size());
        std::fill(std::begin(Param.Codewords), std::end(Param.Codewords), Untouched);
    }
    TStageInput(const TStageInput&) = delete;
    TStageInput& operator=(const TStageInput&) = delete;

    // The codewords from index `from` up to CodewordPos.
    std::vector<int32_t> Written(int32_t from = 1) const {
        return {Param.Codewords + from, Param.Codewords + Work.CodewordPos};
    }
};

// A segment list for the length of one test.
struct TRunList {
    TPDF417SegmentList List{};
    TRunList() { PDF417InitSegmentList(List); }
    ~TRunList() { PDF417FreeSegmentList(List); }
    TRunList(const TRunList&) = delete;
    TRunList& operator=(const TRunList&) = delete;
};

// The runs as "T[0,12) N[12,25)", the way they read in a failure message.
inline std::string DescribeRuns(const TPDF417SegmentList& list) {
    std::string text;
    for (int32_t i = 0; i < list.Count; ++i) {
        const TPDF417Segment& run = list.Items[i];
        if (!text.empty()) text += ' ';
        text += run.Kind;
        text += '[' + std::to_string(run.Start) + ',' + std::to_string(run.End) + ')';
    }
    return text;
}

} // namespace trelvanic::test
