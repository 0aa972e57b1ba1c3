// Bitsliced DES over a batch of 64 x (lanes of V) blocks. V is a word of one
// or more 64-bit lanes with the bitwise operators and lane-wise shifts
// (std::uint64_t, or a GCC vector of std::uint64_t). Everything here is a
// template over V, so each instruction-set file instantiates its own copy.
//
// Layout: word j of a batch holds the blocks j*lanes ... j*lanes+lanes-1,
// one per lane. After the 64x64 bit transpose inside every lane, word n-1
// holds entry n of all blocks (block j*lanes+lane in bit j of that lane), so
// the permutations of the cipher are only a choice of which word to read.
//
// The SSE2 and AVX2 files compile this header for their instruction set, so
// it and its includes define no inline function that is not a template over
// V: the linker could otherwise keep a wider copy for every caller.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "DesBitsliceKeys.h"
#include "DesBitsliceWiring.h"
#include "DesBlockPath.h"
#include "DesSBoxGates.h"

namespace secure::bitslice {

constexpr int kMaxStages = 3;

template <class V>
constexpr std::size_t BatchBlocks() {
    return 64 * (sizeof(V) / 8);
}

template <class V>
inline V Broadcast(std::uint64_t value) {
    return V{} | value;
}

// Transposes the 64x64 bit matrix held in each lane of words[0 ... 63]:
// bit i of lane l of word j trades places with bit j of lane l of word i.
template <class V>
inline void TransposeLanes(V* words) {
    constexpr std::uint64_t kLowHalves[6] = {0x00000000FFFFFFFFull, 0x0000FFFF0000FFFFull, 0x00FF00FF00FF00FFull,
                                             0x0F0F0F0F0F0F0F0Full, 0x3333333333333333ull, 0x5555555555555555ull};
    int level = 0;
    for (int width = 32; width > 0; width >>= 1, ++level) {
        const V mask = Broadcast<V>(kLowHalves[level]);
        for (int i = 0; i < 64; i += 2 * width) {
            for (int j = i; j < i + width; ++j) {
                const V exchanged = ((words[j] >> width) ^ words[j + width]) & mask;
                words[j + width] ^= exchanged;
                words[j] ^= exchanged << width;
            }
        }
    }
}

template <class V, int Box, void (*Gates)(const V*, V*)>
inline void ApplySBox(const V* source, V* target, const std::uint64_t* key) {
    V x[6];
    for (int k = 0; k < 6; ++k) {
        x[k] = source[kWiring.expansionSource[6 * Box + k]] ^ Broadcast<V>(key[6 * Box + k]);
    }
    V y[4];
    Gates(x, y);
    for (int m = 0; m < 4; ++m) target[kWiring.outputTarget[4 * Box + m]] ^= y[m];
}

// target ^= f(source, key) for one round.
template <class V>
inline void Round(const V* source, V* target, const std::uint64_t* key) {
    ApplySBox<V, 0, SBox1<V>>(source, target, key);
    ApplySBox<V, 1, SBox2<V>>(source, target, key);
    ApplySBox<V, 2, SBox3<V>>(source, target, key);
    ApplySBox<V, 3, SBox4<V>>(source, target, key);
    ApplySBox<V, 4, SBox5<V>>(source, target, key);
    ApplySBox<V, 5, SBox6<V>>(source, target, key);
    ApplySBox<V, 6, SBox7<V>>(source, target, key);
    ApplySBox<V, 7, SBox8<V>>(source, target, key);
}

// One batch: load, transpose, IP, the stages, IP^-1, transpose, store. The
// whole batch is read before anything is written.
template <class V>
void RunBatch(const std::uint8_t* input, std::uint8_t* output, const StageKeys* stages, int stageCount) {
    V words[64];
    std::memcpy(words, input, sizeof(words));
    TransposeLanes(words);
    V state[64];
    for (int k = 0; k < 64; ++k) state[k] = words[kWiring.stateSource[k]];

    for (int s = 0; s < stageCount; ++s) {
        V* a = stages[s].exchangesHalves ? state + 32 : state;
        V* b = stages[s].exchangesHalves ? state : state + 32;
        for (int r = 0; r < 16; r += 2) {
            Round(b, a, stages[s].masks[r]);
            Round(a, b, stages[s].masks[r + 1]);
        }
    }

    for (int k = 0; k < 64; ++k) words[kWiring.stateSource[k]] = state[k];
    TransposeLanes(words);
    std::memcpy(output, words, sizeof(words));
}

// A batch costs about as much as 30 blocks on the table path, whatever its
// width (it runs the same number of instructions), so a tail of at least
// this many blocks is padded into a whole batch and a shorter one is left to
// the table path.
constexpr std::size_t kPaddedTailMinimum = 32;

// Whole batches, then a tail either padded into one more batch or left to
// the table path. Kept apart from the entry below, so that calls that go
// straight to the table path do not set up the large frame of the keys.
template <class V>
__attribute__((noinline)) void RunBatches(const std::uint8_t* input, std::uint8_t* output, std::size_t blockCount,
                                          const DesStage* stages, int stageCount) {
    constexpr std::size_t kBatch = BatchBlocks<V>();
    StageKeys keys[kMaxStages];
    for (int s = 0; s < stageCount; ++s) ExpandStageKeys(stages[s], keys[s]);

    const std::size_t tail = blockCount % kBatch;
    const std::size_t whole = blockCount - tail;
    for (std::size_t block = 0; block < whole; block += kBatch) {
        RunBatch<V>(input + 8 * block, output + 8 * block, keys, stageCount);
    }
    if (tail == 0) return;
    if (tail >= kPaddedTailMinimum) {
        std::uint8_t padded[8 * kBatch] = {};
        std::memcpy(padded, input + 8 * whole, 8 * tail);
        RunBatch<V>(padded, padded, keys, stageCount);
        std::memcpy(output + 8 * whole, padded, 8 * tail);
    } else {
        TableDesBlockPath().runBlocks(input + 8 * whole, output + 8 * whole, tail, stages, stageCount);
    }
}

// The runBlocks of a bitsliced path. Too few blocks for a batch go to the
// table path, and so do buffers that overlap without being the same bytes,
// which keeps the block-by-block order of the table path.
template <class V>
void RunBitslicedBlocks(const std::uint8_t* input, std::uint8_t* output, std::size_t blockCount,
                        const DesStage* stages, int stageCount) {
    if (blockCount < kPaddedTailMinimum || BuffersPartlyOverlap(input, output, 8 * blockCount) ||
        stageCount > kMaxStages) {
        TableDesBlockPath().runBlocks(input, output, blockCount, stages, stageCount);
    } else {
        RunBatches<V>(input, output, blockCount, stages, stageCount);
    }
}

}  // namespace secure::bitslice
