// Where the bitsliced round reads and writes its slices, derived at compile
// time from the FIPS 46-3 tables. A slice holds one entry of many blocks;
// slice n-1 of a 64-slice block holds entry n.
#pragma once

#include <cstdint>

#include "DesTables.h"

namespace secure::bitslice {

struct Wiring {
    // The 64 state slices are L (0 ... 31) then R (32 ... 63) after IP:
    // state slice k is block slice stateSource[k].
    std::uint8_t stateSource[64];
    // Input k of S-box j is right-half slice expansionSource[6j + k].
    std::uint8_t expansionSource[48];
    // Output bit m of S-box j (value bit m, least significant first) lands,
    // through P, on half slice outputTarget[4j + m].
    std::uint8_t outputTarget[32];
};

constexpr Wiring MakeWiring() {
    Wiring wiring{};
    for (int k = 0; k < 64; ++k) wiring.stateSource[k] = static_cast<std::uint8_t>(fips::kInitialPermutation[k] - 1);
    for (int i = 0; i < 48; ++i) wiring.expansionSource[i] = static_cast<std::uint8_t>(fips::kExpansion[i] - 1);
    for (int i = 0; i < 32; ++i) wiring.outputTarget[fips::kRoundPermutation[i] - 1] = static_cast<std::uint8_t>(i);
    return wiring;
}

inline constexpr Wiring kWiring = MakeWiring();

}  // namespace secure::bitslice
