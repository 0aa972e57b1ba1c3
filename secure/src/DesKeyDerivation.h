// Round keys derived one at a time from C0 and D0, for the key schedule and
// for single blocks, whose rounds take each key as soon as it is derived.
#pragma once

#include <cstdint>

#include "DesBlock.h"
#include "DesLookup.h"
#include "DesTables.h"

namespace secure {

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

// C and D are 28 entries each.
inline constexpr std::uint32_t kHalfKeyMask = 0x0FFFFFFF;

struct DesRoundKeyWords {
    std::uint32_t oddGroups;
    std::uint32_t evenGroups;
};

// Round key round+1 in the layout of DesRoundKeys. Rotating the 28 entries
// of C or D left moves entry k+s to entry k; with entry k in bit k-1 and the
// half held twice over, that is one shift towards the low bits.
inline DesRoundKeyWords DeriveRoundKey(const DesHalfKeys& halves, int round) {
    const int shift = kTotalShifts.before[round];
    const std::uint32_t c = static_cast<std::uint32_t>(halves.c >> shift) & kHalfKeyMask;
    const std::uint32_t d = static_cast<std::uint32_t>(halves.d >> shift) & kHalfKeyMask;
    const std::uint64_t words = lookup::kRoundKeyFromC.Apply(c) | lookup::kRoundKeyFromD.Apply(d);
    return {static_cast<std::uint32_t>(words), static_cast<std::uint32_t>(words >> 32)};
}

}  // namespace secure
