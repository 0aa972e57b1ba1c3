#include "ByteOrder.h"
#include "DesBlock.h"
#include "DesLookup.h"

namespace secure {
namespace {

constexpr std::uint32_t kHalfKeyMask = 0x0FFFFFFF;

// Rotating the 28 entries of C or D left moves entry k+s to entry k; with
// entry k held in bit k-1 that is a rotation towards the low bits.
std::uint32_t RotateHalfKey(std::uint32_t half, int shift) {
    return ((half >> shift) | (half << (28 - shift))) & kHalfKeyMask;
}

std::uint32_t Group(std::uint64_t roundKey, int zeroBasedGroup) {
    return static_cast<std::uint32_t>((roundKey >> (6 * zeroBasedGroup)) & 0x3F);
}

}  // namespace

void DES_MakeSubkeys(const std::uint8_t key[8], DesRoundKeys& roundKeys) {
    const std::uint64_t chosen = lookup::kPermutedChoice1.Apply(LoadLittleEndian64(key));
    std::uint32_t c = static_cast<std::uint32_t>(chosen) & kHalfKeyMask;
    std::uint32_t d = static_cast<std::uint32_t>(chosen >> 28) & kHalfKeyMask;
    for (int round = 0; round < 16; ++round) {
        c = RotateHalfKey(c, fips::kKeyShifts[round]);
        d = RotateHalfKey(d, fips::kKeyShifts[round]);
        const std::uint64_t roundKey = lookup::kPermutedChoice2.Apply(c | (static_cast<std::uint64_t>(d) << 28));
        roundKeys.oddGroups[round] =
            Group(roundKey, 0) | Group(roundKey, 2) << 8 | Group(roundKey, 4) << 16 | Group(roundKey, 6) << 24;
        roundKeys.evenGroups[round] =
            Group(roundKey, 1) | Group(roundKey, 3) << 8 | Group(roundKey, 5) << 16 | Group(roundKey, 7) << 24;
    }
}

}  // namespace secure
