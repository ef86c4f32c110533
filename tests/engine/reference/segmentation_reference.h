// Segmentation by the literal rules: after every merge the examination
// starts again at the first run, and a deleted run is erased from the
// middle of the array. Quadratic, kept only to prove the engine's linear
// version equal to it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace reference {

struct TRun {
    char Kind;
    int32_t Start;
    int32_t End;

    bool operator==(const TRun&) const = default;
};

inline bool IsTextByte(uint8_t byte) {
    return (byte >= 0x20 && byte <= 0x7E) || byte == 0x09 || byte == 0x0A || byte == 0x0D;
}

inline bool IsDigit(uint8_t byte) {
    return byte >= '0' && byte <= '9';
}

class TSegmentation {
public:
    std::vector<TRun> Runs;

    TSegmentation(const uint8_t* data, int32_t length) : Data(data) {
        CutNumericRuns(length);
        MergeUntilStable([this](std::size_t i) { return BridgeSingleByte(i); });
        MergeUntilStable([this](std::size_t i) {
            return AbsorbNeighbours(i, Is(i, 'T') && Length(i) >= 5, [this](std::size_t n) {
                return Is(n, 'T') || (Is(n, 'B') && Length(n) == 1);
            });
        });
        MergeUntilStable([this](std::size_t i) {
            return AbsorbNeighbours(i, Is(i, 'B'), [this](std::size_t n) {
                return (Is(n, 'T') && Length(n) < 5) || Is(n, 'B');
            });
        });
        MakeLoneDigitsNumeric();
    }

private:
    const uint8_t* Data;

    // Missing neighbours (index -1 wraps to a huge value) match nothing.
    bool Is(std::size_t i, char kind) const { return i < Runs.size() && Runs[i].Kind == kind; }
    int32_t Length(std::size_t i) const { return i < Runs.size() ? Runs[i].End - Runs[i].Start : 0; }

    void Cut(int32_t from, int32_t to) {
        for (int32_t start = from, j = from + 1; start < to; ++j) {
            if (j < to && IsTextByte(Data[j]) == IsTextByte(Data[start]))
                continue;
            Runs.push_back({IsTextByte(Data[start]) ? 'T' : 'B', start, j});
            start = j;
        }
    }

    void CutNumericRuns(int32_t length) {
        int32_t last = 0, digitStart = 0, digits = 0;
        for (int32_t j = 0; j < length; ++j) {
            if (IsDigit(Data[j])) {
                if (digits++ == 0)
                    digitStart = j;
                continue;
            }
            if (digits >= 13) {
                Cut(last, digitStart);
                Runs.push_back({'N', digitStart, j});
                last = j;
            }
            digits = 0;
        }
        if (digits >= 13) {
            Cut(last, digitStart);
            Runs.push_back({'N', digitStart, length});
        } else {
            Cut(last, length);
        }
    }

    template <typename Merge>
    void MergeUntilStable(Merge merge) {
        for (std::size_t i = 0; i < Runs.size();)
            i = merge(i) ? 0 : i + 1;
    }

    bool BridgeSingleByte(std::size_t i) {
        if (!(Is(i, 'B') && Length(i) == 1 && Is(i - 1, 'T') && Is(i + 1, 'T') &&
              Length(i - 1) + Length(i + 1) >= 3))
            return false;
        Runs[i - 1].End = Runs[i + 1].End;
        Runs.erase(Runs.begin() + static_cast<std::ptrdiff_t>(i),
                   Runs.begin() + static_cast<std::ptrdiff_t>(i + 2));
        return true;
    }

    template <typename Qualifies>
    bool AbsorbNeighbours(std::size_t i, bool absorbs, Qualifies qualifies) {
        if (!absorbs)
            return false;
        bool merged = false;
        if (qualifies(i - 1)) {
            Runs[i].Start = Runs[i - 1].Start;
            Runs.erase(Runs.begin() + static_cast<std::ptrdiff_t>(i - 1));
            --i;
            merged = true;
        }
        if (qualifies(i + 1)) {
            Runs[i].End = Runs[i + 1].End;
            Runs.erase(Runs.begin() + static_cast<std::ptrdiff_t>(i + 1));
            merged = true;
        }
        return merged;
    }

    void MakeLoneDigitsNumeric() {
        if (Runs.size() != 1 || !Is(0, 'T') || Length(0) < 8)
            return;
        for (int32_t j = Runs[0].Start; j < Runs[0].End; ++j)
            if (!IsDigit(Data[j]))
                return;
        Runs[0].Kind = 'N';
    }
};

} // namespace reference
