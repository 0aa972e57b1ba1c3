// IP and IP^-1 by word operations instead of lookups. With entry n in bit
// n-1, the block is an 8x8 bit matrix (byte b, bit i). IP reads it turned by
// a quarter: reverse the byte order and transpose, and the odd bytes of the
// result are L, the even bytes R. Both routines are checked against the
// FIPS 46-3 tables bit by bit at compile time.
#pragma once

#include <cstdint>

#include "DesTables.h"

namespace secure {

namespace permutation_steps {

// Exchanges the bits selected by mask with the bits shift places above them.
constexpr std::uint64_t SwapMove(std::uint64_t x, int shift, std::uint64_t mask) {
    const std::uint64_t t = (x ^ (x >> shift)) & mask;
    return x ^ t ^ (t << shift);
}

// Bit i of byte b trades places with bit b of byte i.
constexpr std::uint64_t TransposeBitMatrix(std::uint64_t x) {
    x = SwapMove(x, 7, 0x00AA00AA00AA00AAull);
    x = SwapMove(x, 14, 0x0000CCCC0000CCCCull);
    return SwapMove(x, 28, 0x00000000F0F0F0F0ull);
}

// Bytes 0 1 2 3 4 5 6 7 to 0 2 4 6 1 3 5 7; the inverse runs the steps backwards.
constexpr std::uint64_t SeparateEvenAndOddBytes(std::uint64_t x) {
    x = SwapMove(x, 8, 0x0000FF000000FF00ull);
    return SwapMove(x, 16, 0x00000000FFFF0000ull);
}

constexpr std::uint64_t InterleaveEvenAndOddBytes(std::uint64_t x) {
    x = SwapMove(x, 16, 0x00000000FFFF0000ull);
    return SwapMove(x, 8, 0x0000FF000000FF00ull);
}

constexpr std::uint64_t ExchangeHalves(std::uint64_t x) {
    return (x >> 32) | (x << 32);
}

}  // namespace permutation_steps

// IP: L in the low, R in the high 32 bits of the result.
constexpr std::uint64_t InitialPermutation(std::uint64_t block) {
    using namespace permutation_steps;
    return ExchangeHalves(SeparateEvenAndOddBytes(TransposeBitMatrix(__builtin_bswap64(block))));
}

// IP^-1 of L (low 32 bits) and R (high 32 bits).
constexpr std::uint64_t FinalPermutation(std::uint64_t halves) {
    using namespace permutation_steps;
    return __builtin_bswap64(TransposeBitMatrix(InterleaveEvenAndOddBytes(ExchangeHalves(halves))));
}

namespace permutation_steps {

// Entry i+1 of permute(word) must be entry table[i] of word, for every i.
template <class Permute>
constexpr bool FollowsTable(Permute permute, const std::uint8_t (&table)[64]) {
    for (int i = 0; i < 64; ++i) {
        const std::uint64_t image = permute(std::uint64_t{1} << (table[i] - 1));
        if (image != std::uint64_t{1} << i) return false;
    }
    return true;
}

static_assert(FollowsTable(InitialPermutation, fips::kInitialPermutation), "IP differs from its table");
static_assert(FollowsTable(FinalPermutation, fips::kFinalPermutation), "IP^-1 differs from its table");

}  // namespace permutation_steps

}  // namespace secure
