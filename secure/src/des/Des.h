// One DES block operation and its key schedule, in this library's variant:
// bits numbered from the least significant bit of each byte, S-box results
// written least significant bit first, and no exchange of the halves after
// the last round.
#pragma once

#include <cstdint>

namespace secure {

enum class DesDirection : int { Encrypt = 0, Decrypt = 1 };

// The sixteen 48-bit round keys K1 ... K16, each stored as its eight 6-bit
// S-box groups: groups 1, 3, 5, 7 in bytes 0-3 of oddGroups, groups 2, 4, 6,
// 8 in bytes 0-3 of evenGroups. The first entry of a group is its bit 0.
struct DesRoundKeys {
    std::uint32_t oddGroups[16];
    std::uint32_t evenGroups[16];
};

// Derives the round-key set of one 8-byte key. The most significant bit of
// every key byte is left out by permuted choice 1; parity is never checked.
void DES_MakeSubkeys(const std::uint8_t key[8], DesRoundKeys& roundKeys);

// C0 and D0 of a key after permuted choice 1, each held twice over side by
// side (entries 1 ... 28 in bits 0 ... 27 and again in bits 28 ... 55).
struct DesHalfKeys {
    std::uint64_t c;
    std::uint64_t d;
};

DesHalfKeys DES_MakeHalfKeys(const std::uint8_t key[8]);

// Encrypts or decrypts one 8-byte block. The block is read completely before
// the result is written, so input and output may be the same bytes.
void DES_CryptBlock(const std::uint8_t input[8], std::uint8_t output[8], const DesRoundKeys& roundKeys,
                    DesDirection direction);

// One cipher pass whose round keys are derived during the rounds.
struct DesKeyedStage {
    DesHalfKeys halfKeys;
    DesDirection direction;
};

// One block through all stages in order, deriving each round key as its
// round comes. For a single block this overlaps the key schedule with the
// rounds, which wait on each other, instead of running it first. Input and
// output may be the same bytes.
void DES_CryptBlockDerivingKeys(const std::uint8_t input[8], std::uint8_t output[8], const DesKeyedStage* stages,
                                int stageCount);

}  // namespace secure
