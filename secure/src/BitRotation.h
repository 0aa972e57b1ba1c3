// The 32-bit rotation shared by the DES round function and the random
// source of the Diffie-Hellman exports. Compilers turn it into one rotate
// instruction.
#pragma once

#include <cstdint>

namespace secure {

// value rotated left by count places, 0 <= count < 32; a right rotation by
// n is a left rotation by 32 - n.
inline std::uint32_t RotateLeft32(std::uint32_t value, int count) {
    return (value << count) | (value >> ((32 - count) & 31));
}

}  // namespace secure
