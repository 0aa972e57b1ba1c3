// Lookup tables derived at compile time from the FIPS 46-3 tables for the
// table-driven block path. Bit n-1 of a word stands for entry n of the
// description's bit arrays throughout.
#pragma once

#include <cstddef>
#include <cstdint>

#include "DesTables.h"

namespace secure::lookup {

// A bit permutation applied one source chunk of ChunkBits bits at a time:
// part[c][v] is the image of the source word whose chunk c is v and whose
// other bits are 0. Narrow chunks keep the tables small enough to stay in
// the first-level cache next to the caller's own data.
template <int SourceBits, int ChunkBits>
struct ChunkPermutation {
    static constexpr int kChunks = (SourceBits + ChunkBits - 1) / ChunkBits;
    static constexpr std::uint64_t kChunkMask = (std::uint64_t{1} << ChunkBits) - 1;
    std::uint64_t part[kChunks][std::size_t{1} << ChunkBits];

    constexpr std::uint64_t Apply(std::uint64_t source) const {
        std::uint64_t result = 0;
        for (int c = 0; c < kChunks; ++c) {
            result |= part[c][(source >> (ChunkBits * c)) & kChunkMask];
        }
        return result;
    }
};

// The permutation that moves source bit b to the bits imageOfSourceBit[b].
template <int SourceBits, int ChunkBits>
constexpr ChunkPermutation<SourceBits, ChunkBits> MakeChunkPermutation(
    const std::uint64_t (&imageOfSourceBit)[SourceBits]) {
    ChunkPermutation<SourceBits, ChunkBits> permutation{};
    for (int c = 0; c < permutation.kChunks; ++c) {
        for (std::uint64_t v = 0; v <= permutation.kChunkMask; ++v) {
            std::uint64_t image = 0;
            for (int bit = 0; bit < ChunkBits && ChunkBits * c + bit < SourceBits; ++bit) {
                if ((v >> bit) & 1) image |= imageOfSourceBit[ChunkBits * c + bit];
            }
            permutation.part[c][v] = image;
        }
    }
    return permutation;
}

// Permuted choice 2 straight into the layout of DesRoundKeys: the image of
// C or D holds the oddGroups word in its low and the evenGroups word in its
// high 32 bits. Entries 1 ... 24 of a round key come from C (entries 1 ...
// 28 of C||D) and entries 25 ... 48 from D, so each half is permuted alone.
constexpr bool PermutedChoice2KeepsHalvesApart() {
    for (int i = 0; i < 48; ++i) {
        if ((i < 24) != (fips::kPermutedChoice2[i] <= 28)) return false;
    }
    return true;
}
static_assert(PermutedChoice2KeepsHalvesApart(), "PC2 must take its first 24 entries from C, the rest from D");

// Where round-key entry i+1 sits: group g = i / 6 (zero-based) in byte g / 2
// of oddGroups for even g, of evenGroups for odd g; bit i % 6 of that byte.
constexpr std::uint64_t RoundKeyWordBit(int i) {
    const int group = i / 6;
    return std::uint64_t{1} << ((group % 2 == 0 ? 0 : 32) + 8 * (group / 2) + i % 6);
}

constexpr ChunkPermutation<28, 7> MakeRoundKeyFromHalf(bool fromD) {
    std::uint64_t imageOfSourceBit[28] = {};
    for (int i = 0; i < 48; ++i) {
        const int entry = fips::kPermutedChoice2[i];
        if (fromD && entry > 28) imageOfSourceBit[entry - 29] |= RoundKeyWordBit(i);
        if (!fromD && entry <= 28) imageOfSourceBit[entry - 1] |= RoundKeyWordBit(i);
    }
    return MakeChunkPermutation<28, 7>(imageOfSourceBit);
}

inline constexpr ChunkPermutation<28, 7> kRoundKeyFromC = MakeRoundKeyFromHalf(false);
inline constexpr ChunkPermutation<28, 7> kRoundKeyFromD = MakeRoundKeyFromHalf(true);

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

}  // namespace secure::lookup
