// Table-driven block path: IP and IP^-1 by word operations, and each
// round's S-boxes merged with P into one lookup per S-box.
#include "ByteOrder.h"
#include "DesBlock.h"
#include "DesBlockPath.h"
#include "DesKeyDerivation.h"
#include "DesLookup.h"
#include "DesWordPermutations.h"

namespace secure {
namespace {

// f(R, K): expansion, key mixing, S-boxes and P. Rotating R left by 1 puts
// the groups 1, 3, 5, 7 of E(R) at bits 0, 8, 16, 24; rotating it right by 3
// does the same for groups 2, 4, 6, 8.
inline std::uint32_t RoundFunction(std::uint32_t right, std::uint32_t oddGroups, std::uint32_t evenGroups) {
    const auto& sp = lookup::kSBoxWithPermutation.box;
    const std::uint32_t odd = RotateLeft32(right, 1) ^ oddGroups;
    const std::uint32_t even = RotateRight32(right, 3) ^ evenGroups;
    return sp[0][odd & 0x3F] ^ sp[2][(odd >> 8) & 0x3F] ^ sp[4][(odd >> 16) & 0x3F] ^ sp[6][(odd >> 24) & 0x3F] ^
           sp[1][even & 0x3F] ^ sp[3][(even >> 8) & 0x3F] ^ sp[5][(even >> 16) & 0x3F] ^ sp[7][(even >> 24) & 0x3F];
}

// The round keys of a stage, as stored by the key schedule or derived when
// a round asks for them.
struct StoredRoundKeys {
    const DesRoundKeys& keys;
    DesRoundKeyWords operator()(int round) const { return {keys.oddGroups[round], keys.evenGroups[round]}; }
};

struct DerivedRoundKeys {
    DesHalfKeys halves;
    DesRoundKeyWords operator()(int round) const { return DeriveRoundKey(halves, round); }
};

// The halves after IP of several independent blocks. The rounds of one
// block wait on each other; running the rounds of a few blocks together lets
// the processor overlap them.
template <int N>
struct BlockHalves {
    std::uint32_t left[N];
    std::uint32_t right[N];
};

// Sixteen rounds on the halves after IP, two per step so that the halves
// need no swapping. Encryption: (L, R) <- (R, L ^ f(R, Ki)) for i = 1 ... 16.
// Decryption: (L, R) <- (f(L, Ki) ^ R, L) for i = 16 ... 1. The halves stay
// as they are after the last round.
template <int N, class RoundKeyOf>
inline void RunRounds(BlockHalves<N>& halves, const RoundKeyOf& roundKey, DesDirection direction) {
    std::uint32_t* const left = halves.left;
    std::uint32_t* const right = halves.right;
    const auto f = [](std::uint32_t half, DesRoundKeyWords key) {
        return RoundFunction(half, key.oddGroups, key.evenGroups);
    };
    if (direction == DesDirection::Encrypt) {
#pragma GCC unroll 8
        for (int i = 0; i < 16; i += 2) {
            const DesRoundKeyWords first = roundKey(i);
            for (int n = 0; n < N; ++n) left[n] ^= f(right[n], first);
            const DesRoundKeyWords second = roundKey(i + 1);
            for (int n = 0; n < N; ++n) right[n] ^= f(left[n], second);
        }
    } else {
#pragma GCC unroll 8
        for (int i = 15; i > 0; i -= 2) {
            const DesRoundKeyWords first = roundKey(i);
            for (int n = 0; n < N; ++n) right[n] ^= f(left[n], first);
            const DesRoundKeyWords second = roundKey(i - 1);
            for (int n = 0; n < N; ++n) left[n] ^= f(right[n], second);
        }
    }
}

// IP, the stages, IP^-1 for N consecutive blocks, all read before any is
// written. IP^-1 of one stage followed by IP of the next cancel out, so the
// stages of triple DES run back to back on the permuted halves.
template <int N, class RunStages>
inline void CryptBlocks(const std::uint8_t* input, std::uint8_t* output, const RunStages& runStages) {
    BlockHalves<N> halves;
    for (int n = 0; n < N; ++n) {
        const std::uint64_t permuted = InitialPermutation(LoadLittleEndian64(input + 8 * n));
        halves.left[n] = static_cast<std::uint32_t>(permuted);
        halves.right[n] = static_cast<std::uint32_t>(permuted >> 32);
    }
    runStages(halves);
    for (int n = 0; n < N; ++n) {
        const std::uint64_t joined = halves.left[n] | (static_cast<std::uint64_t>(halves.right[n]) << 32);
        StoreLittleEndian64(FinalPermutation(joined), output + 8 * n);
    }
}

template <int N>
void RunStoredStages(BlockHalves<N>& halves, const DesStage* stages, int stageCount) {
    for (int s = 0; s < stageCount; ++s) {
        RunRounds(halves, StoredRoundKeys{*stages[s].roundKeys}, stages[s].direction);
    }
}

// Two blocks at a time, unless the buffers overlap without being the same
// bytes: then strictly one block after the other, each written before the
// next is read.
void RunTableBlocks(const std::uint8_t* input, std::uint8_t* output, std::size_t blockCount, const DesStage* stages,
                    int stageCount) {
    const auto runStages = [stages, stageCount](auto& halves) { RunStoredStages(halves, stages, stageCount); };
    std::size_t block = 0;
    if (!BuffersPartlyOverlap(input, output, 8 * blockCount)) {
        for (; block + 2 <= blockCount; block += 2) {
            CryptBlocks<2>(input + 8 * block, output + 8 * block, runStages);
        }
    }
    for (; block < blockCount; ++block) {
        CryptBlocks<1>(input + 8 * block, output + 8 * block, runStages);
    }
}

constexpr DesBlockPath kTablePath{"table", &RunTableBlocks};

}  // namespace

void DES_CryptBlock(const std::uint8_t input[8], std::uint8_t output[8], const DesRoundKeys& roundKeys,
                    DesDirection direction) {
    const DesStage stage{&roundKeys, direction};
    RunTableBlocks(input, output, 1, &stage, 1);
}

void DES_CryptBlockDerivingKeys(const std::uint8_t input[8], std::uint8_t output[8], const DesKeyedStage* stages,
                                int stageCount) {
    CryptBlocks<1>(input, output, [stages, stageCount](BlockHalves<1>& halves) {
        for (int s = 0; s < stageCount; ++s) {
            RunRounds(halves, DerivedRoundKeys{stages[s].halfKeys}, stages[s].direction);
        }
    });
}

const DesBlockPath& TableDesBlockPath() {
    return kTablePath;
}

}  // namespace secure
