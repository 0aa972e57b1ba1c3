// The interface behind which whole-buffer block processing sits, so that
// faster implementations (several blocks at a time) can be chosen without
// touching the buffer routines.
#pragma once

#include <cstddef>
#include <cstdint>

#include "DesBlock.h"

namespace secure {

// One cipher pass over a block: a round-key set and a direction. Single DES
// runs one stage per block, triple DES three, each on the previous result.
struct DesStage {
    const DesRoundKeys* roundKeys;
    DesDirection direction;
};

struct DesBlockPath {
    // Runs blockCount consecutive 8-byte blocks through all stages in order.
    // Each block is read completely before its result is written, so output
    // may equal input.
    void (*runBlocks)(const std::uint8_t* input, std::uint8_t* output, std::size_t blockCount,
                      const DesStage* stages, int stageCount);
};

// The block implementation used by the buffer routines.
const DesBlockPath& SelectDesBlockPath();

}  // namespace secure
