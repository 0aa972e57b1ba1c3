#include "ByteOrder.h"
#include "DesBlock.h"
#include "DesLookup.h"

namespace secure {
namespace {

constexpr std::uint32_t kHalfKeyMask = 0x0FFFFFFF;

// Rotating the 28 entries of C or D left moves entry k+s to entry k; with
// entry k held in bit k-1 that is a rotation towards the low bits. The half
// is held twice over, side by side, so that a rotation is a single shift.
std::uint64_t TwoCopies(std::uint32_t half) {
    return half | static_cast<std::uint64_t>(half) << 28;
}

std::uint32_t RotateHalfKey(std::uint64_t twoCopies, int shift) {
    return static_cast<std::uint32_t>(twoCopies >> shift) & kHalfKeyMask;
}

// The total rotation of C and D before each round, so that every round key
// comes straight from C0 and D0 and the rounds need not wait for each other.
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

constexpr TotalShifts kTotalShifts = MakeTotalShifts();

}  // namespace

void DES_MakeSubkeys(const std::uint8_t key[8], DesRoundKeys& roundKeys) {
    const std::uint64_t chosen = lookup::kPermutedChoice1.Apply(LoadLittleEndian64(key));
    const std::uint64_t c0 = TwoCopies(static_cast<std::uint32_t>(chosen) & kHalfKeyMask);
    const std::uint64_t d0 = TwoCopies(static_cast<std::uint32_t>(chosen >> 28) & kHalfKeyMask);
#pragma GCC unroll 16
    for (int round = 0; round < 16; ++round) {
        const std::uint32_t c = RotateHalfKey(c0, kTotalShifts.before[round]);
        const std::uint32_t d = RotateHalfKey(d0, kTotalShifts.before[round]);
        const std::uint64_t words = lookup::kRoundKeyFromC.Apply(c) | lookup::kRoundKeyFromD.Apply(d);
        roundKeys.oddGroups[round] = static_cast<std::uint32_t>(words);
        roundKeys.evenGroups[round] = static_cast<std::uint32_t>(words >> 32);
    }
}

}  // namespace secure
