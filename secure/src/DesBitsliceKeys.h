// Round keys spread out for the bitsliced paths: every key entry becomes a
// mask of all ones or all zeros, in the order in which the rounds use them.
#pragma once

#include <cstdint>

#include "DesBlockPath.h"

namespace secure::bitslice {

struct StageKeys {
    // masks[r][e]: entry e+1 of the round key used by the r-th round applied.
    std::uint64_t masks[16][48];
    // Decryption runs the encryption rounds with the halves exchanged and the
    // round keys in reverse order.
    bool exchangesHalves;
};

void ExpandStageKeys(const DesStage& stage, StageKeys& keys);

}  // namespace secure::bitslice
