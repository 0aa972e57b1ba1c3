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
    const char* name;
    // Runs blockCount consecutive 8-byte blocks through all stages in order.
    // Each block is read completely before its result is written, so output
    // may equal input.
    void (*runBlocks)(const std::uint8_t* input, std::uint8_t* output, std::size_t blockCount,
                      const DesStage* stages, int stageCount);
};

// Whether two buffers of the given length share some bytes without being
// the same bytes. Paths that read several blocks before writing keep the
// one-block-after-the-other order for such buffers.
bool BuffersPartlyOverlap(const std::uint8_t* input, const std::uint8_t* output, std::size_t bytes);

// The implementations: a few blocks at a time by table lookup, and bitsliced
// batches of 64 blocks in plain 64-bit words, 128 in SSE2 registers and 256
// in AVX2 registers.
enum class DesPathKind { Table, Portable, Sse2, Avx2 };

// The block implementation used by the buffer routines: the widest one that
// this build has and this processor can run.
const DesBlockPath& SelectDesBlockPath();

// The implementation of the given kind, or nullptr where this build lacks it
// or this processor cannot run it.
const DesBlockPath* FindDesBlockPath(DesPathKind kind);

// The table path, which handles every block count on every processor.
const DesBlockPath& TableDesBlockPath();

// The bitsliced paths, each defined by its instruction-set file. The SSE2
// and AVX2 files are compiled only where the build says so; reach them
// through FindDesBlockPath, which also asks the processor.
const DesBlockPath& PortableDesBlockPath();
const DesBlockPath& Sse2DesBlockPath();
const DesBlockPath& Avx2DesBlockPath();

}  // namespace secure
