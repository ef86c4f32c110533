// The control's encoding options: a set of TPDF417Option kept in one byte,
// option n being bit 1 << n (poAutoErrorLevel 1, poFixedColumn 2, poFixedRow 4).
#pragma once

#include <cstdint>
#include <initializer_list>

enum TPDF417Option { poAutoErrorLevel, poFixedColumn, poFixedRow };

class TPDF417Options {
public:
    constexpr TPDF417Options() = default;
    constexpr TPDF417Options(std::initializer_list<TPDF417Option> options) {
        for (TPDF417Option option : options)
            Include(option);
    }

    // The stored byte; bits other than 1, 2 and 4 are dropped.
    static constexpr TPDF417Options FromBits(uint8_t bits) {
        TPDF417Options options;
        options.FBits = static_cast<uint8_t>(bits & AllBits);
        return options;
    }
    constexpr uint8_t Bits() const { return FBits; }

    constexpr bool Contains(TPDF417Option option) const { return (FBits & Bit(option)) != 0; }
    constexpr TPDF417Options& Include(TPDF417Option option) {
        FBits = static_cast<uint8_t>(FBits | Bit(option));
        return *this;
    }
    constexpr TPDF417Options& Exclude(TPDF417Option option) {
        FBits = static_cast<uint8_t>(FBits & ~Bit(option));
        return *this;
    }

    // Set union and difference.
    friend constexpr TPDF417Options operator+(TPDF417Options a, TPDF417Options b) {
        return FromBits(static_cast<uint8_t>(a.FBits | b.FBits));
    }
    friend constexpr TPDF417Options operator-(TPDF417Options a, TPDF417Options b) {
        return FromBits(static_cast<uint8_t>(a.FBits & ~b.FBits));
    }
    friend constexpr bool operator==(TPDF417Options, TPDF417Options) = default;

private:
    static constexpr uint8_t AllBits = 7;
    static constexpr uint8_t Bit(TPDF417Option option) {
        return static_cast<uint8_t>(1u << static_cast<unsigned>(option));
    }

    uint8_t FBits = 0;
};

static_assert(sizeof(TPDF417Options) == 1);
