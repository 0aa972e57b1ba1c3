// Bitsliced path in SSE2 registers: 128 blocks per batch. On i686 this file
// alone is compiled for SSE2 and runs only where the processor has it.
#include "DesBitslice.h"

namespace secure {
namespace {

typedef std::uint64_t TwoLanes __attribute__((vector_size(16)));

// The client may call with a stack aligned to 4 bytes only; SSE2 spills need 16.
__attribute__((force_align_arg_pointer)) void RunSse2Blocks(const std::uint8_t* input, std::uint8_t* output,
                                                            std::size_t blockCount, const DesStage* stages,
                                                            int stageCount) {
    bitslice::RunBitslicedBlocks<TwoLanes>(input, output, blockCount, stages, stageCount);
}

}  // namespace

const DesBlockPath& Sse2DesBlockPath() {
    static constexpr DesBlockPath path{"sse2", &RunSse2Blocks};
    return path;
}

}  // namespace secure
