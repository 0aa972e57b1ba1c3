// Lookup tables derived at compile time from the FIPS 46-3 tables for the
// table-driven block path. Bit n-1 of a word stands for entry n of the
// description's bit arrays throughout.
#pragma once

#include <cstddef>
#include <cstdint>

#include "DesTables.h"

namespace secure::lookup {

// A bit permutation applied one source byte at a time: part[b][v] is the
// image of the source word whose byte b is v and whose other bytes are 0.
template <int SourceBytes>
struct BytePermutation {
    std::uint64_t part[SourceBytes][256];

    constexpr std::uint64_t Apply(std::uint64_t source) const {
        std::uint64_t result = 0;
        for (int b = 0; b < SourceBytes; ++b) {
            result |= part[b][(source >> (8 * b)) & 0xFF];
        }
        return result;
    }
};

// Entry i+1 of the result is entry table[i] of the source.
template <int SourceBytes, std::size_t Count>
constexpr BytePermutation<SourceBytes> MakeBytePermutation(const std::uint8_t (&table)[Count]) {
    std::uint64_t imageOfSourceBit[SourceBytes * 8] = {};
    for (std::size_t i = 0; i < Count; ++i) {
        imageOfSourceBit[table[i] - 1] |= std::uint64_t{1} << i;
    }
    BytePermutation<SourceBytes> permutation{};
    for (int b = 0; b < SourceBytes; ++b) {
        for (int v = 0; v < 256; ++v) {
            std::uint64_t image = 0;
            for (int bit = 0; bit < 8; ++bit) {
                if ((v >> bit) & 1) image |= imageOfSourceBit[8 * b + bit];
            }
            permutation.part[b][v] = image;
        }
    }
    return permutation;
}

inline constexpr BytePermutation<8> kInitialPermutation = MakeBytePermutation<8>(fips::kInitialPermutation);
inline constexpr BytePermutation<8> kFinalPermutation = MakeBytePermutation<8>(fips::kFinalPermutation);
inline constexpr BytePermutation<8> kPermutedChoice1 = MakeBytePermutation<8>(fips::kPermutedChoice1);
inline constexpr BytePermutation<7> kPermutedChoice2 = MakeBytePermutation<7>(fips::kPermutedChoice2);

// S-box j followed by permutation P: box[j][g] is the P-permuted 32-bit
// contribution of S-box j+1 for the 6-entry group g (entry b1 in bit 0 ...
// b6 in bit 5). The four result entries take bits 0, 1, 2, 3 of the S-box
// value in that order.
struct SBoxWithPermutation {
    std::uint32_t box[8][64];
};

constexpr SBoxWithPermutation MakeSBoxWithPermutation() {
    SBoxWithPermutation tables{};
    for (int j = 0; j < 8; ++j) {
        for (int group = 0; group < 64; ++group) {
            const int b1 = group & 1, b2 = (group >> 1) & 1, b3 = (group >> 2) & 1;
            const int b4 = (group >> 3) & 1, b5 = (group >> 4) & 1, b6 = (group >> 5) & 1;
            const int row = 2 * b1 + b6;
            const int column = 8 * b2 + 4 * b3 + 2 * b4 + b5;
            const std::uint64_t value = fips::kSBoxes[j][row][column];
            const std::uint64_t sboxEntries = value << (4 * j);
            std::uint32_t permuted = 0;
            for (int i = 0; i < 32; ++i) {
                permuted |= static_cast<std::uint32_t>((sboxEntries >> (fips::kRoundPermutation[i] - 1)) & 1) << i;
            }
            tables.box[j][group] = permuted;
        }
    }
    return tables;
}

inline constexpr SBoxWithPermutation kSBoxWithPermutation = MakeSBoxWithPermutation();

// The round function reads S-box group j (1-based) as the six right-half
// entries starting at entry 4(j-1) (cyclically, entry 0 being entry 32). It
// relies on E having exactly that shape.
constexpr bool ExpansionIsSlidingWindow() {
    for (int j = 0; j < 8; ++j) {
        for (int k = 0; k < 6; ++k) {
            const int expected = (4 * j + k + 31) % 32 + 1;
            if (fips::kExpansion[6 * j + k] != expected) return false;
        }
    }
    return true;
}
static_assert(ExpansionIsSlidingWindow(), "E must be the sliding 6-entry window of FIPS 46-3");

// Triple DES skips IP^-1 followed by IP between its stages; that needs them
// to be inverse to each other.
constexpr bool FinalPermutationInvertsInitial() {
    for (int i = 0; i < 64; ++i) {
        if (fips::kFinalPermutation[fips::kInitialPermutation[i] - 1] != i + 1) return false;
    }
    return true;
}
static_assert(FinalPermutationInvertsInitial(), "IP^-1 must invert IP");

}  // namespace secure::lookup
