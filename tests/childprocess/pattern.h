#pragma once
// The byte streams that the helper writes and the tests expect: pseudo-random
// bytes without a carriage return, which pass a translating stream unchanged.
#include <cstdint>

namespace cp_pattern {

// Byte `position` of the stream `seed`.
inline char byte_at(std::uint64_t seed, std::uint64_t position) {
    std::uint64_t mixed = (position ^ (seed << 48)) * 0x9E3779B97F4A7C15ULL;
    mixed = (mixed ^ mixed >> 29) * 0xBF58476D1CE4E5B9ULL;
    const char byte = static_cast<char>(mixed >> 56);
    return byte == '\r' ? 'R' : byte;
}

} // namespace cp_pattern
