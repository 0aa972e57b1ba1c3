// Table-driven block path: IP and IP^-1 by word operations, and each
// round's S-boxes merged with P into one lookup per S-box.
#include "ByteOrder.h"
#include "DesBlock.h"
#include "DesBlockPath.h"
#include "DesInitialPermutation.h"
#include "DesLookup.h"

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

// Sixteen rounds on the halves after IP, two per step so that the halves
// need no swapping. Encryption: (L, R) <- (R, L ^ f(R, Ki)) for i = 1 ... 16.
// Decryption: (L, R) <- (f(L, Ki) ^ R, L) for i = 16 ... 1. The halves stay
// as they are after the last round.
inline void RunRounds(std::uint32_t& left, std::uint32_t& right, const DesRoundKeys& keys, DesDirection direction) {
    if (direction == DesDirection::Encrypt) {
        for (int i = 0; i < 16; i += 2) {
            left ^= RoundFunction(right, keys.oddGroups[i], keys.evenGroups[i]);
            right ^= RoundFunction(left, keys.oddGroups[i + 1], keys.evenGroups[i + 1]);
        }
    } else {
        for (int i = 15; i > 0; i -= 2) {
            right ^= RoundFunction(left, keys.oddGroups[i], keys.evenGroups[i]);
            left ^= RoundFunction(right, keys.oddGroups[i - 1], keys.evenGroups[i - 1]);
        }
    }
}

// IP^-1 of one stage followed by IP of the next cancel out, so the stages of
// triple DES run back to back on the permuted halves.
void RunTableBlocks(const std::uint8_t* input, std::uint8_t* output, std::size_t blockCount, const DesStage* stages,
                    int stageCount) {
    for (std::size_t block = 0; block < blockCount; ++block) {
        const std::uint64_t permuted = InitialPermutation(LoadLittleEndian64(input + 8 * block));
        std::uint32_t left = static_cast<std::uint32_t>(permuted);
        std::uint32_t right = static_cast<std::uint32_t>(permuted >> 32);
        for (int s = 0; s < stageCount; ++s) {
            RunRounds(left, right, *stages[s].roundKeys, stages[s].direction);
        }
        const std::uint64_t joined = left | (static_cast<std::uint64_t>(right) << 32);
        StoreLittleEndian64(FinalPermutation(joined), output + 8 * block);
    }
}

constexpr DesBlockPath kTablePath{"table", &RunTableBlocks};

}  // namespace

void DES_CryptBlock(const std::uint8_t input[8], std::uint8_t output[8], const DesRoundKeys& roundKeys,
                    DesDirection direction) {
    const DesStage stage{&roundKeys, direction};
    RunTableBlocks(input, output, 1, &stage, 1);
}

const DesBlockPath& TableDesBlockPath() {
    return kTablePath;
}

}  // namespace secure
