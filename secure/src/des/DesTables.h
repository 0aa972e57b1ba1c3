// The tables of the cipher. First the permutation tables, expansion,
// S-boxes and key-schedule shifts of the Data Encryption Standard, exactly as
// printed in FIPS 46-3: 1-based entry numbers, each table read row by row.
// Every faster representation in this library is derived from these at
// compile time: below them, the lookup tables of the table path (Des.cpp);
// the bitsliced paths derive their wiring themselves (DesBitsliced.cpp).
// Bit n-1 of a word stands for entry n of the bit arrays throughout.
#pragma once

#include <cstddef>
#include <cstdint>

namespace secure::fips {

// Initial permutation IP: entry i of the result is entry kInitialPermutation[i-1] of the block.
inline constexpr std::uint8_t kInitialPermutation[64] = {
    58, 50, 42, 34, 26, 18, 10, 2,
    60, 52, 44, 36, 28, 20, 12, 4,
    62, 54, 46, 38, 30, 22, 14, 6,
    64, 56, 48, 40, 32, 24, 16, 8,
    57, 49, 41, 33, 25, 17, 9,  1,
    59, 51, 43, 35, 27, 19, 11, 3,
    61, 53, 45, 37, 29, 21, 13, 5,
    63, 55, 47, 39, 31, 23, 15, 7,
};

// Inverse initial permutation IP^-1.
inline constexpr std::uint8_t kFinalPermutation[64] = {
    40, 8, 48, 16, 56, 24, 64, 32,
    39, 7, 47, 15, 55, 23, 63, 31,
    38, 6, 46, 14, 54, 22, 62, 30,
    37, 5, 45, 13, 53, 21, 61, 29,
    36, 4, 44, 12, 52, 20, 60, 28,
    35, 3, 43, 11, 51, 19, 59, 27,
    34, 2, 42, 10, 50, 18, 58, 26,
    33, 1, 41, 9,  49, 17, 57, 25,
};

// Expansion E: 32 entries of the right half to 48.
inline constexpr std::uint8_t kExpansion[48] = {
    32, 1,  2,  3,  4,  5,
    4,  5,  6,  7,  8,  9,
    8,  9,  10, 11, 12, 13,
    12, 13, 14, 15, 16, 17,
    16, 17, 18, 19, 20, 21,
    20, 21, 22, 23, 24, 25,
    24, 25, 26, 27, 28, 29,
    28, 29, 30, 31, 32, 1,
};

// Permutation P of the 32 S-box result entries.
inline constexpr std::uint8_t kRoundPermutation[32] = {
    16, 7,  20, 21,
    29, 12, 28, 17,
    1,  15, 23, 26,
    5,  18, 31, 10,
    2,  8,  24, 14,
    32, 27, 3,  9,
    19, 13, 30, 6,
    22, 11, 4,  25,
};

// Permuted choice 1: 64 key entries to 56 (entries 8, 16, ..., 64 left out).
inline constexpr std::uint8_t kPermutedChoice1[56] = {
    57, 49, 41, 33, 25, 17, 9,
    1,  58, 50, 42, 34, 26, 18,
    10, 2,  59, 51, 43, 35, 27,
    19, 11, 3,  60, 52, 44, 36,
    63, 55, 47, 39, 31, 23, 15,
    7,  62, 54, 46, 38, 30, 22,
    14, 6,  61, 53, 45, 37, 29,
    21, 13, 5,  28, 20, 12, 4,
};

// Permuted choice 2: the 56 entries of C||D to a 48-entry round key.
inline constexpr std::uint8_t kPermutedChoice2[48] = {
    14, 17, 11, 24, 1,  5,
    3,  28, 15, 6,  21, 10,
    23, 19, 12, 4,  26, 8,
    16, 7,  27, 20, 13, 2,
    41, 52, 31, 37, 47, 55,
    30, 40, 51, 45, 33, 48,
    44, 49, 39, 56, 34, 53,
    46, 42, 50, 36, 29, 32,
};

// Left rotations of C and D before round 1 ... 16.
inline constexpr std::uint8_t kKeyShifts[16] = {1, 1, 2, 2, 2, 2, 2, 2, 1, 2, 2, 2, 2, 2, 2, 1};

// S-boxes S1 ... S8, indexed [box][row][column].
inline constexpr std::uint8_t kSBoxes[8][4][16] = {
    {{14, 4, 13, 1, 2, 15, 11, 8, 3, 10, 6, 12, 5, 9, 0, 7},
     {0, 15, 7, 4, 14, 2, 13, 1, 10, 6, 12, 11, 9, 5, 3, 8},
     {4, 1, 14, 8, 13, 6, 2, 11, 15, 12, 9, 7, 3, 10, 5, 0},
     {15, 12, 8, 2, 4, 9, 1, 7, 5, 11, 3, 14, 10, 0, 6, 13}},
    {{15, 1, 8, 14, 6, 11, 3, 4, 9, 7, 2, 13, 12, 0, 5, 10},
     {3, 13, 4, 7, 15, 2, 8, 14, 12, 0, 1, 10, 6, 9, 11, 5},
     {0, 14, 7, 11, 10, 4, 13, 1, 5, 8, 12, 6, 9, 3, 2, 15},
     {13, 8, 10, 1, 3, 15, 4, 2, 11, 6, 7, 12, 0, 5, 14, 9}},
    {{10, 0, 9, 14, 6, 3, 15, 5, 1, 13, 12, 7, 11, 4, 2, 8},
     {13, 7, 0, 9, 3, 4, 6, 10, 2, 8, 5, 14, 12, 11, 15, 1},
     {13, 6, 4, 9, 8, 15, 3, 0, 11, 1, 2, 12, 5, 10, 14, 7},
     {1, 10, 13, 0, 6, 9, 8, 7, 4, 15, 14, 3, 11, 5, 2, 12}},
    {{7, 13, 14, 3, 0, 6, 9, 10, 1, 2, 8, 5, 11, 12, 4, 15},
     {13, 8, 11, 5, 6, 15, 0, 3, 4, 7, 2, 12, 1, 10, 14, 9},
     {10, 6, 9, 0, 12, 11, 7, 13, 15, 1, 3, 14, 5, 2, 8, 4},
     {3, 15, 0, 6, 10, 1, 13, 8, 9, 4, 5, 11, 12, 7, 2, 14}},
    {{2, 12, 4, 1, 7, 10, 11, 6, 8, 5, 3, 15, 13, 0, 14, 9},
     {14, 11, 2, 12, 4, 7, 13, 1, 5, 0, 15, 10, 3, 9, 8, 6},
     {4, 2, 1, 11, 10, 13, 7, 8, 15, 9, 12, 5, 6, 3, 0, 14},
     {11, 8, 12, 7, 1, 14, 2, 13, 6, 15, 0, 9, 10, 4, 5, 3}},
    {{12, 1, 10, 15, 9, 2, 6, 8, 0, 13, 3, 4, 14, 7, 5, 11},
     {10, 15, 4, 2, 7, 12, 9, 5, 6, 1, 13, 14, 0, 11, 3, 8},
     {9, 14, 15, 5, 2, 8, 12, 3, 7, 0, 4, 10, 1, 13, 11, 6},
     {4, 3, 2, 12, 9, 5, 15, 10, 11, 14, 1, 7, 6, 0, 8, 13}},
    {{4, 11, 2, 14, 15, 0, 8, 13, 3, 12, 9, 7, 5, 10, 6, 1},
     {13, 0, 11, 7, 4, 9, 1, 10, 14, 3, 5, 12, 2, 15, 8, 6},
     {1, 4, 11, 13, 12, 3, 7, 14, 10, 15, 6, 8, 0, 5, 9, 2},
     {6, 11, 13, 8, 1, 4, 10, 7, 9, 5, 0, 15, 14, 2, 3, 12}},
    {{13, 2, 8, 4, 6, 15, 11, 1, 10, 9, 3, 14, 5, 0, 12, 7},
     {1, 15, 13, 8, 10, 3, 7, 4, 12, 5, 6, 11, 0, 14, 9, 2},
     {7, 11, 4, 1, 9, 12, 14, 2, 0, 6, 10, 13, 15, 3, 5, 8},
     {2, 1, 14, 7, 4, 10, 8, 13, 15, 12, 9, 0, 3, 5, 6, 11}},
};

// Triple DES skips IP^-1 followed by IP between its stages, and the bitsliced
// paths write their state back through IP alone: both need the two tables to
// be inverse to each other.
constexpr bool FinalPermutationInvertsInitial() {
    for (int i = 0; i < 64; ++i) {
        if (kFinalPermutation[kInitialPermutation[i] - 1] != i + 1) return false;
    }
    return true;
}
static_assert(FinalPermutationInvertsInitial(), "IP^-1 must invert IP");

}  // namespace secure::fips

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

// The total rotation of C and D before each round, so that every round key
// comes straight from C0 and D0 and no round key waits for another.
struct TotalShifts {
    int before[16];
};

constexpr TotalShifts MakeTotalShifts() {
    TotalShifts shifts{};
    int total = 0;
    for (int round = 0; round < 16; ++round) {
        total += fips::kKeyShifts[round];
        shifts.before[round] = total % 28;
    }
    return shifts;
}

inline constexpr TotalShifts kTotalShifts = MakeTotalShifts();

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

// Where round-key entry i+1 sits in the word oddGroups | evenGroups << 32 of
// DesRoundKeys: group g = i / 6 (zero-based) in byte g / 2 of oddGroups for
// even g, of evenGroups for odd g; bit i % 6 of that byte.
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
