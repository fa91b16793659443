// A fast 64-bit hash of a text's bytes for the tables that number texts
// within one run (never stored): sixteen bytes a step in two lanes, so that
// the multiplications do not wait on each other, and the last bytes read as
// whole words that may overlap those read before.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

namespace kolvane {

inline std::uint64_t HashText(std::string_view text)
{
    constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;
    constexpr std::uint64_t kOther = 0xC2B2AE3D27D4EB4Full;
    const char* data = text.data();
    const std::size_t size = text.size();
    const auto word = [data](std::size_t at) {
        std::uint64_t value;
        std::memcpy(&value, data + at, sizeof value);
        return value;
    };
    const auto half = [data](std::size_t at) {
        std::uint32_t value;
        std::memcpy(&value, data + at, sizeof value);
        return std::uint64_t{value};
    };
    std::uint64_t first = size;
    std::uint64_t second = ~static_cast<std::uint64_t>(size);
    if (size >= 16) {
        for (std::size_t at = 0; at + 16 <= size; at += 16) {
            first = (first ^ word(at)) * kMultiplier;
            second = (second ^ word(at + 8)) * kOther;
        }
        if (size % 16 != 0) {
            first = (first ^ word(size - 16)) * kMultiplier;
            second = (second ^ word(size - 8)) * kOther;
        }
    } else if (size >= 8) {
        first = (first ^ word(0)) * kMultiplier;
        second = (second ^ word(size - 8)) * kOther;
    } else if (size >= 4) {
        first = (first ^ half(0)) * kMultiplier;
        second = (second ^ half(size - 4)) * kOther;
    } else if (size > 0) {
        const auto byte = [data](std::size_t at) { return std::uint64_t{static_cast<unsigned char>(data[at])}; };
        first = (first ^ (byte(0) | byte(size / 2) << 8 | byte(size - 1) << 16)) * kMultiplier;
        second = (second ^ first) * kOther;
    }
    const std::uint64_t hash = first ^ (second >> 29) ^ (second << 35);
    return hash ^ (hash >> 32);
}

}  // namespace kolvane
