#include "ByteOrder.h"
#include "DesBlock.h"
#include "DesKeyDerivation.h"
#include "DesLookup.h"
#include "DesWordPermutations.h"

namespace secure {

DesHalfKeys DES_MakeHalfKeys(const std::uint8_t key[8]) {
    const std::uint64_t chosen = PermutedChoice1(LoadLittleEndian64(key));
    const std::uint64_t c = chosen & kHalfKeyMask;
    const std::uint64_t d = (chosen >> 28) & kHalfKeyMask;
    return {c | c << 28, d | d << 28};
}

void DES_MakeSubkeys(const std::uint8_t key[8], DesRoundKeys& roundKeys) {
    const DesHalfKeys halves = DES_MakeHalfKeys(key);
#pragma GCC unroll 16
    for (int round = 0; round < 16; ++round) {
        const DesRoundKeyWords words = DeriveRoundKey(halves, round);
        roundKeys.oddGroups[round] = words.oddGroups;
        roundKeys.evenGroups[round] = words.evenGroups;
    }
}

}  // namespace secure
