// Reads a fuzzer's input front to back as little-endian fields. Once the
// input runs out every field reads as zero, so any input is a valid one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace trelvanic::fuzz {

class FuzzReader {
public:
    FuzzReader(const uint8_t* data, size_t size) : Rest(data, size) {}

    template <typename T> T Read() {
        uint8_t bytes[sizeof(T)] = {};
        const size_t taken = Rest.size() < sizeof(T) ? Rest.size() : sizeof(T);
        std::memcpy(bytes, Rest.data(), taken);
        Rest = Rest.subspan(taken);
        T value;
        std::memcpy(&value, bytes, sizeof(T));
        return value;
    }

    // Up to `count` bytes, fewer at the end of the input.
    std::span<const uint8_t> Bytes(size_t count) {
        const std::span<const uint8_t> bytes = Rest.first(count < Rest.size() ? count : Rest.size());
        Rest = Rest.subspan(bytes.size());
        return bytes;
    }

    std::span<const uint8_t> Remaining() const { return Rest; }
    bool Empty() const { return Rest.empty(); }

private:
    std::span<const uint8_t> Rest;
};

} // namespace trelvanic::fuzz
