// Bitsliced path in AVX2 registers: 256 blocks per batch. This file alone is
// compiled for AVX2 and runs only where the processor has it.
#include "DesBitslice.h"

namespace secure {
namespace {

typedef std::uint64_t FourLanes __attribute__((vector_size(32)));

void RunAvx2Blocks(const std::uint8_t* input, std::uint8_t* output, std::size_t blockCount, const DesStage* stages,
                   int stageCount) {
    bitslice::RunBitslicedBlocks<FourLanes>(input, output, blockCount, stages, stageCount);
}

}  // namespace

const DesBlockPath& Avx2DesBlockPath() {
    static constexpr DesBlockPath path{"avx2", &RunAvx2Blocks};
    return path;
}

}  // namespace secure
