// IP, IP^-1 and permuted choice 1 by word operations instead of lookups.
// With entry n in bit n-1, a block or key is an 8x8 bit matrix (byte b, bit
// i). IP and PC1 read it turned by a quarter: reverse the byte order and
// transpose, and byte p of the result holds bit p of bytes 7 ... 0. The odd
// bytes are then L, the even bytes R; bytes 0 ... 2 and the low half of
// byte 3 are C, bytes 6 ... 4 and the high half of byte 3 D. All routines
// are checked against the FIPS 46-3 tables bit by bit at compile time.
#pragma once

#include <cstddef>
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

// PC1: C (entries 1 ... 28) in bits 0 ... 27, D in bits 28 ... 55.
constexpr std::uint64_t PermutedChoice1(std::uint64_t key) {
    using namespace permutation_steps;
    const std::uint64_t turned = TransposeBitMatrix(__builtin_bswap64(key));
    const std::uint64_t c = turned & 0x0FFFFFFF;
    const std::uint64_t reversed = __builtin_bswap64(turned);  // bytes 6, 5, 4, 3 of turned in bytes 1 ... 4
    const std::uint64_t d = ((reversed >> 8) & 0x00FFFFFF) | ((reversed >> 12) & 0x0F000000);
    return c | d << 28;
}

namespace permutation_steps {

// Entry i+1 of permute(word) must be entry table[i] of word, for every i,
// and entries the table leaves out must go nowhere. The routines only move
// bits, so each source bit can be checked alone.
template <class Permute, std::size_t Count>
constexpr bool FollowsTable(Permute permute, const std::uint8_t (&table)[Count]) {
    for (int source = 0; source < 64; ++source) {
        std::uint64_t expected = 0;
        for (std::size_t i = 0; i < Count; ++i) {
            if (table[i] == source + 1) expected |= std::uint64_t{1} << i;
        }
        if (permute(std::uint64_t{1} << source) != expected) return false;
    }
    return true;
}

static_assert(FollowsTable(InitialPermutation, fips::kInitialPermutation), "IP differs from its table");
static_assert(FollowsTable(FinalPermutation, fips::kFinalPermutation), "IP^-1 differs from its table");
static_assert(FollowsTable(PermutedChoice1, fips::kPermutedChoice1), "PC1 differs from its table");

}  // namespace permutation_steps

}  // namespace secure
