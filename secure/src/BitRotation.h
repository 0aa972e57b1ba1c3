// Little-endian loads and stores: byte i of a block holds bits 8i ... 8i+7 of
// the 64-bit word, which makes bit n-1 of the word entry n of the cipher's
// bit array.
#pragma once

#include <cstdint>

namespace secure {

inline std::uint64_t LoadLittleEndian64(const std::uint8_t* bytes) {
    std::uint64_t value = 0;
    for (int i = 0; i < 8; ++i) {
        value |= static_cast<std::uint64_t>(bytes[i]) << (8 * i);
    }
    return value;
}

inline void StoreLittleEndian64(std::uint64_t value, std::uint8_t* bytes) {
    for (int i = 0; i < 8; ++i) {
        bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

inline std::uint32_t RotateLeft32(std::uint32_t value, int count) {
    return (value << count) | (value >> ((32 - count) & 31));
}

inline std::uint32_t RotateRight32(std::uint32_t value, int count) {
    return (value >> count) | (value << ((32 - count) & 31));
}

}  // namespace secure
