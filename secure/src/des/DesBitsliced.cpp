// Bitsliced DES over batches of 64 x (lanes of Word) blocks. The build
// compiles this file once per register width, the wider ones alone for their
// instruction set, so the rest of the library still runs on every processor:
// SECURE_BITSLICED_LANES is 1 (Word is a plain 64-bit word), 2 (SSE2) or 4
// (AVX2), and each compilation defines the path of its width. Everything
// else here has internal linkage, so the three compilations' copies stay
// apart; for the same reason its includes define no inline function that is
// not a template over the word type.
//
// Layout: word j of a batch holds the blocks j*lanes ... j*lanes+lanes-1,
// one per lane. After the 64x64 bit transpose inside every lane, word n-1
// holds entry n of all blocks (block j*lanes+lane in bit j of that lane), so
// the permutations of the cipher are only a choice of which word to read.
#include "des/DesBitsliced.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "des/DesSBoxGates.h"
#include "des/DesTables.h"

namespace secure {
namespace {

#if SECURE_BITSLICED_LANES == 1
using Word = std::uint64_t;
#elif SECURE_BITSLICED_LANES == 2
typedef std::uint64_t Word __attribute__((vector_size(16)));
#elif SECURE_BITSLICED_LANES == 4
typedef std::uint64_t Word __attribute__((vector_size(32)));
#else
#error "SECURE_BITSLICED_LANES must be 1, 2 or 4"
#endif

constexpr std::size_t kBatchBlocks = 64 * (sizeof(Word) / 8);
constexpr int kMaxStages = 3;

// Where the round reads and writes its slices, derived at compile time from
// the FIPS 46-3 tables. Slice n-1 of a 64-slice block holds entry n.
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

constexpr Wiring kWiring = MakeWiring();

// Round keys spread out: every key entry becomes a mask of all ones or all
// zeros, in the order in which the rounds use them.
struct StageKeys {
    // masks[r][e]: entry e+1 of the round key used by the r-th round applied.
    std::uint64_t masks[16][48];
    // Decryption runs the encryption rounds with the halves exchanged and the
    // round keys in reverse order.
    bool exchangesHalves;
};

// Where entry e+1 of a round key sits in the word oddGroups | evenGroups << 32:
// the layout the key schedule writes.
struct RoundKeyEntryBits {
    std::uint64_t of[48];
};

constexpr RoundKeyEntryBits MakeRoundKeyEntryBits() {
    RoundKeyEntryBits bits{};
    for (int e = 0; e < 48; ++e) bits.of[e] = lookup::RoundKeyWordBit(e);
    return bits;
}

constexpr RoundKeyEntryBits kRoundKeyEntryBits = MakeRoundKeyEntryBits();

void ExpandStageKeys(const DesStage& stage, StageKeys& keys) {
    const bool decrypt = stage.direction == DesDirection::Decrypt;
    keys.exchangesHalves = decrypt;
    for (int applied = 0; applied < 16; ++applied) {
        const int round = decrypt ? 15 - applied : applied;
        const std::uint64_t roundKey = stage.roundKeys->oddGroups[round] |
                                       std::uint64_t{stage.roundKeys->evenGroups[round]} << 32;
        for (int e = 0; e < 48; ++e) {
            keys.masks[applied][e] = std::uint64_t{0} - ((roundKey & kRoundKeyEntryBits.of[e]) != 0);
        }
    }
}

inline Word Broadcast(std::uint64_t value) {
    return Word{} | value;
}

// Transposes the 64x64 bit matrix held in each lane of words[0 ... 63]:
// bit i of lane l of word j trades places with bit j of lane l of word i.
inline void TransposeLanes(Word* words) {
    constexpr std::uint64_t kLowHalves[6] = {0x00000000FFFFFFFFull, 0x0000FFFF0000FFFFull, 0x00FF00FF00FF00FFull,
                                             0x0F0F0F0F0F0F0F0Full, 0x3333333333333333ull, 0x5555555555555555ull};
    int level = 0;
    for (int width = 32; width > 0; width >>= 1, ++level) {
        const Word mask = Broadcast(kLowHalves[level]);
        for (int i = 0; i < 64; i += 2 * width) {
            for (int j = i; j < i + width; ++j) {
                const Word exchanged = ((words[j] >> width) ^ words[j + width]) & mask;
                words[j + width] ^= exchanged;
                words[j] ^= exchanged << width;
            }
        }
    }
}

template <int Box, void (*Gates)(const Word*, Word*)>
inline void ApplySBox(const Word* source, Word* target, const std::uint64_t* key) {
    Word x[6];
    for (int k = 0; k < 6; ++k) {
        x[k] = source[kWiring.expansionSource[6 * Box + k]] ^ Broadcast(key[6 * Box + k]);
    }
    Word y[4];
    Gates(x, y);
    for (int m = 0; m < 4; ++m) target[kWiring.outputTarget[4 * Box + m]] ^= y[m];
}

// target ^= f(source, key) for one round.
inline void Round(const Word* source, Word* target, const std::uint64_t* key) {
    ApplySBox<0, bitslice::SBox1<Word>>(source, target, key);
    ApplySBox<1, bitslice::SBox2<Word>>(source, target, key);
    ApplySBox<2, bitslice::SBox3<Word>>(source, target, key);
    ApplySBox<3, bitslice::SBox4<Word>>(source, target, key);
    ApplySBox<4, bitslice::SBox5<Word>>(source, target, key);
    ApplySBox<5, bitslice::SBox6<Word>>(source, target, key);
    ApplySBox<6, bitslice::SBox7<Word>>(source, target, key);
    ApplySBox<7, bitslice::SBox8<Word>>(source, target, key);
}

// One batch: load, transpose, IP, the stages, IP^-1, transpose, store. The
// whole batch is read before anything is written.
void RunBatch(const std::uint8_t* input, std::uint8_t* output, const StageKeys* stages, int stageCount) {
    Word words[64];
    std::memcpy(words, input, sizeof(words));
    TransposeLanes(words);
    Word state[64];
    for (int k = 0; k < 64; ++k) state[k] = words[kWiring.stateSource[k]];

    for (int s = 0; s < stageCount; ++s) {
        Word* a = stages[s].exchangesHalves ? state + 32 : state;
        Word* b = stages[s].exchangesHalves ? state : state + 32;
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
__attribute__((noinline)) void RunBatches(const std::uint8_t* input, std::uint8_t* output, std::size_t blockCount,
                                          const DesStage* stages, int stageCount) {
    StageKeys keys[kMaxStages];
    for (int s = 0; s < stageCount; ++s) ExpandStageKeys(stages[s], keys[s]);

    const std::size_t tail = blockCount % kBatchBlocks;
    const std::size_t whole = blockCount - tail;
    for (std::size_t block = 0; block < whole; block += kBatchBlocks) {
        RunBatch(input + 8 * block, output + 8 * block, keys, stageCount);
    }
    if (tail == 0) return;
    if (tail >= kPaddedTailMinimum) {
        std::uint8_t padded[8 * kBatchBlocks] = {};
        std::memcpy(padded, input + 8 * whole, 8 * tail);
        RunBatch(padded, padded, keys, stageCount);
        std::memcpy(output + 8 * whole, padded, 8 * tail);
    } else {
        TableDesBlockPath().runBlocks(input + 8 * whole, output + 8 * whole, tail, stages, stageCount);
    }
}

// The runBlocks of this width. Too few blocks for a batch go to the table
// path, and so do buffers that overlap without being the same bytes, which
// keeps the block-by-block order of the table path.
void RunBitslicedBlocks(const std::uint8_t* input, std::uint8_t* output, std::size_t blockCount,
                        const DesStage* stages, int stageCount) {
    if (blockCount < kPaddedTailMinimum || BuffersPartlyOverlap(input, output, 8 * blockCount) ||
        stageCount > kMaxStages) {
        TableDesBlockPath().runBlocks(input, output, blockCount, stages, stageCount);
    } else {
        RunBatches(input, output, blockCount, stages, stageCount);
    }
}

}  // namespace

#if SECURE_BITSLICED_LANES == 1

const DesBlockPath& PortableDesBlockPath() {
    static constexpr DesBlockPath path{"portable", &RunBitslicedBlocks};
    return path;
}

#elif SECURE_BITSLICED_LANES == 2

namespace {

// The client may call with a stack aligned to 4 bytes only; SSE2 spills need 16.
__attribute__((force_align_arg_pointer)) void RunSse2Blocks(const std::uint8_t* input, std::uint8_t* output,
                                                            std::size_t blockCount, const DesStage* stages,
                                                            int stageCount) {
    RunBitslicedBlocks(input, output, blockCount, stages, stageCount);
}

}  // namespace

const DesBlockPath& Sse2DesBlockPath() {
    static constexpr DesBlockPath path{"sse2", &RunSse2Blocks};
    return path;
}

#else

const DesBlockPath& Avx2DesBlockPath() {
    static constexpr DesBlockPath path{"avx2", &RunBitslicedBlocks};
    return path;
}

#endif

}  // namespace secure
