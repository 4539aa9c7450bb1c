#pragma once
// The byte streams that the output helpers write and the tests expect:
// blocks of 65,536 pseudo-random bytes, none of them a carriage return, so
// that what arrives through a translating stream is exactly what was sent.
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace cp_pattern {

constexpr std::size_t block_size = 65536;

// Block `index` of the stream `seed`.
inline void fill_block(std::uint64_t seed, std::uint64_t index, unsigned char* block) {
    std::uint64_t state = (seed + 1) * 0x9E3779B97F4A7C15ULL ^ (index + 1) * 0xD1B54A32D192ED03ULL;
    for (std::size_t i = 0; i < block_size; i += 8) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        std::memcpy(block + i, &state, 8);
    }
    for (std::size_t i = 0; i < block_size; ++i)
        if (block[i] == '\r') block[i] = 'R';
}

// 64-bit FNV-1a.
class hash_t {
public:
    void add(const void* data, std::size_t size) {
        const unsigned char* bytes = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < size; ++i) m_value = (m_value ^ bytes[i]) * 0x100000001B3ULL;
    }
    std::uint64_t value() const { return m_value; }

private:
    std::uint64_t m_value = 0xCBF29CE484222325ULL;
};

// The hash of the first `size` bytes of the stream `seed`.
inline std::uint64_t stream_hash(std::uint64_t seed, std::uint64_t size) {
    static unsigned char block[block_size];
    hash_t hash;
    for (std::uint64_t index = 0; size != 0; ++index) {
        fill_block(seed, index, block);
        const std::size_t part = size < block_size ? static_cast<std::size_t>(size) : block_size;
        hash.add(block, part);
        size -= part;
    }
    return hash.value();
}

} // namespace cp_pattern
