// The four DES exports and the cipher under them. Read from the end up: an
// export (last in this file) runs DES_Run or DES3_Run, which check the
// arguments and fill the key buffer. A single block then goes straight to
// DES_CryptBlockDerivingKeys; a longer buffer gets its round keys from
// DES_MakeSubkeys and goes to the block path SelectDesBlockPath chose: the
// table path here, or a bitsliced path (DesBitsliced.cpp), which takes
// buffers of 32 blocks or more and leaves shorter runs to the table path.
#include "des/Des.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>

#include "BitRotation.h"
#include "des/DesBitsliced.h"
#include "des/DesTables.h"
#include "secure.h"

namespace secure {
namespace {

// Little-endian loads and stores: byte i of a block holds bits 8i ... 8i+7 of
// the 64-bit word, which makes bit n-1 of the word entry n of the cipher's
// bit array.
std::uint64_t LoadLittleEndian64(const std::uint8_t* bytes) {
    std::uint64_t value = 0;
    for (int i = 0; i < 8; ++i) {
        value |= static_cast<std::uint64_t>(bytes[i]) << (8 * i);
    }
    return value;
}

void StoreLittleEndian64(std::uint64_t value, std::uint8_t* bytes) {
    for (int i = 0; i < 8; ++i) {
        bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

// C and D are 28 entries each.
constexpr std::uint32_t kHalfKeyMask = 0x0FFFFFFF;

// IP, IP^-1 and permuted choice 1 by word operations instead of lookups.
// With entry n in bit n-1, a block or key is an 8x8 bit matrix (byte b, bit
// i). IP and PC1 read it turned by a quarter: reverse the byte order and
// transpose, and byte p of the result holds bit p of bytes 7 ... 0. The odd
// bytes are then L, the even bytes R; bytes 0 ... 2 and the low half of
// byte 3 are C, bytes 6 ... 4 and the high half of byte 3 D. All routines
// are checked against the FIPS 46-3 tables bit by bit at compile time.
namespace permutation_steps {

// Exchanges the bits selected by mask with the bits shift places above them.
constexpr std::uint64_t SwapMove(std::uint64_t x, int shift, std::uint64_t mask) {
    const std::uint64_t t = (x ^ (x >> shift)) & mask;
    return x ^ t ^ (t << shift);
}

// Bit i of byte b trades places with bit b of byte i.
constexpr std::uint64_t TransposeBitMatrix(std::uint64_t x) {
    x = SwapMove(x, 7, 0x00AA00AA00AA00AAull);
    x = SwapMove(x, 14, 0x0000CCCC0000CCCCull);
    return SwapMove(x, 28, 0x00000000F0F0F0F0ull);
}

// Bytes 0 1 2 3 4 5 6 7 to 0 2 4 6 1 3 5 7; the inverse runs the steps backwards.
constexpr std::uint64_t SeparateEvenAndOddBytes(std::uint64_t x) {
    x = SwapMove(x, 8, 0x0000FF000000FF00ull);
    return SwapMove(x, 16, 0x00000000FFFF0000ull);
}

constexpr std::uint64_t InterleaveEvenAndOddBytes(std::uint64_t x) {
    x = SwapMove(x, 16, 0x00000000FFFF0000ull);
    return SwapMove(x, 8, 0x0000FF000000FF00ull);
}

constexpr std::uint64_t ExchangeHalves(std::uint64_t x) {
    return (x >> 32) | (x << 32);
}

}  // namespace permutation_steps

// IP: L in the low, R in the high 32 bits of the result.
constexpr std::uint64_t InitialPermutation(std::uint64_t block) {
    using namespace permutation_steps;
    return ExchangeHalves(SeparateEvenAndOddBytes(TransposeBitMatrix(__builtin_bswap64(block))));
}

// IP^-1 of L (low 32 bits) and R (high 32 bits).
constexpr std::uint64_t FinalPermutation(std::uint64_t halves) {
    using namespace permutation_steps;
    return __builtin_bswap64(TransposeBitMatrix(InterleaveEvenAndOddBytes(ExchangeHalves(halves))));
}

// PC1: C (entries 1 ... 28) in bits 0 ... 27, D in bits 28 ... 55.
constexpr std::uint64_t PermutedChoice1(std::uint64_t key) {
    using namespace permutation_steps;
    const std::uint64_t turned = TransposeBitMatrix(__builtin_bswap64(key));
    const std::uint64_t c = turned & kHalfKeyMask;
    const std::uint64_t reversed = __builtin_bswap64(turned);  // bytes 6, 5, 4, 3 of turned in bytes 1 ... 4
    const std::uint64_t d = ((reversed >> 8) & 0x00FFFFFF) | ((reversed >> 12) & 0x0F000000);
    return c | d << 28;
}

namespace permutation_steps {

// Entry i+1 of permute(word) must be entry table[i] of word, for every i,
// and entries the table leaves out must go nowhere. The routines only move
// bits, so each source bit can be checked alone.
template <class Permute, std::size_t Count>
constexpr bool FollowsTable(Permute permute, const std::uint8_t (&table)[Count]) {
    for (int source = 0; source < 64; ++source) {
        std::uint64_t expected = 0;
        for (std::size_t i = 0; i < Count; ++i) {
            if (table[i] == source + 1) expected |= std::uint64_t{1} << i;
        }
        if (permute(std::uint64_t{1} << source) != expected) return false;
    }
    return true;
}

static_assert(FollowsTable(InitialPermutation, fips::kInitialPermutation), "IP differs from its table");
static_assert(FollowsTable(FinalPermutation, fips::kFinalPermutation), "IP^-1 differs from its table");
static_assert(FollowsTable(PermutedChoice1, fips::kPermutedChoice1), "PC1 differs from its table");

}  // namespace permutation_steps

struct DesRoundKeyWords {
    std::uint32_t oddGroups;
    std::uint32_t evenGroups;
};

// Round key round+1 in the layout of DesRoundKeys, straight from C0 and D0.
// Rotating the 28 entries of C or D left moves entry k+s to entry k; with
// entry k in bit k-1 and the half held twice over, that is one shift towards
// the low bits.
inline DesRoundKeyWords DeriveRoundKey(const DesHalfKeys& halves, int round) {
    const int shift = lookup::kTotalShifts.before[round];
    const std::uint32_t c = static_cast<std::uint32_t>(halves.c >> shift) & kHalfKeyMask;
    const std::uint32_t d = static_cast<std::uint32_t>(halves.d >> shift) & kHalfKeyMask;
    const std::uint64_t words = lookup::kRoundKeyFromC.Apply(c) | lookup::kRoundKeyFromD.Apply(d);
    return {static_cast<std::uint32_t>(words), static_cast<std::uint32_t>(words >> 32)};
}

}  // namespace

DesHalfKeys DES_MakeHalfKeys(const std::uint8_t key[8]) {
    const std::uint64_t chosen = PermutedChoice1(LoadLittleEndian64(key));
    const std::uint64_t c = chosen & kHalfKeyMask;
    const std::uint64_t d = (chosen >> 28) & kHalfKeyMask;
    return {c | c << 28, d | d << 28};
}

void DES_MakeSubkeys(const std::uint8_t key[8], DesRoundKeys& roundKeys) {
    const DesHalfKeys halves = DES_MakeHalfKeys(key);
#pragma GCC unroll 16
    for (int round = 0; round < 16; ++round) {
        const DesRoundKeyWords words = DeriveRoundKey(halves, round);
        roundKeys.oddGroups[round] = words.oddGroups;
        roundKeys.evenGroups[round] = words.evenGroups;
    }
}

namespace {

// The table path: IP and IP^-1 by word operations, and each round's S-boxes
// merged with P into one lookup per S-box.

// f(R, K): expansion, key mixing, S-boxes and P. Rotating R left by 1 puts
// the groups 1, 3, 5, 7 of E(R) at bits 0, 8, 16, 24; rotating it right by 3
// (left by 29) does the same for groups 2, 4, 6, 8.
inline std::uint32_t RoundFunction(std::uint32_t right, std::uint32_t oddGroups, std::uint32_t evenGroups) {
    const auto& sp = lookup::kSBoxWithPermutation.box;
    const std::uint32_t odd = RotateLeft32(right, 1) ^ oddGroups;
    const std::uint32_t even = RotateLeft32(right, 29) ^ evenGroups;
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

// Defined out of line: DesBitsliced.cpp calls it from its wider builds, and
// an inline copy compiled for AVX2 could be the one the linker keeps.
bool BuffersPartlyOverlap(const std::uint8_t* input, const std::uint8_t* output, std::size_t bytes) {
    const auto inputStart = reinterpret_cast<std::uintptr_t>(input);
    const auto outputStart = reinterpret_cast<std::uintptr_t>(output);
    return inputStart != outputStart && inputStart < outputStart + bytes && outputStart < inputStart + bytes;
}

#if defined(__i386__) || defined(__x86_64__)

bool ProcessorHasSse2() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("sse2");
}

bool ProcessorHasAvx2() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
}

#else

bool ProcessorHasSse2() {
    return false;
}

bool ProcessorHasAvx2() {
    return false;
}

#endif

// The build defines SECURE_SSE2_PATH and SECURE_AVX2_PATH where it compiles
// those paths.
const DesBlockPath* FindDesBlockPath(DesPathKind kind) {
    switch (kind) {
        case DesPathKind::Table:
            return &TableDesBlockPath();
        case DesPathKind::Portable:
            return &PortableDesBlockPath();
#if defined(SECURE_SSE2_PATH)
        case DesPathKind::Sse2:
            return ProcessorHasSse2() ? &Sse2DesBlockPath() : nullptr;
#endif
#if defined(SECURE_AVX2_PATH)
        case DesPathKind::Avx2:
            return ProcessorHasAvx2() ? &Avx2DesBlockPath() : nullptr;
#endif
        default:
            return nullptr;
    }
}

const DesBlockPath& SelectDesBlockPath() {
    static const DesBlockPath& selected = []() -> const DesBlockPath& {
        for (DesPathKind kind : {DesPathKind::Avx2, DesPathKind::Sse2}) {
            if (const DesBlockPath* path = FindDesBlockPath(kind)) return *path;
        }
        return PortableDesBlockPath();
    }();
    return selected;
}

namespace {

// The buffer routines shared by the exports: refusal rules, key buffers and
// the electronic-codebook walk over the whole blocks of a buffer.

constexpr int kBlockSize = 8;
constexpr int kTripleKeySize = 24;

bool IsRefused(const std::uint8_t* input, int inputLength, const std::uint8_t* key, int keyLength) {
    return input == nullptr || inputLength < 1 || key == nullptr || keyLength < 1;
}

// Triple DES: E(K1) D(K2) E(K3) to encrypt, D(K3) E(K2) D(K1) to decrypt.
template <class Stage, class Key>
void ArrangeTripleStages(const Key& key1, const Key& key2, const Key& key3, DesDirection direction,
                         Stage (&stages)[3]) {
    const bool encrypt = direction == DesDirection::Encrypt;
    const DesDirection middle = encrypt ? DesDirection::Decrypt : DesDirection::Encrypt;
    stages[0] = Stage{encrypt ? key1 : key3, direction};
    stages[1] = Stage{key2, middle};
    stages[2] = Stage{encrypt ? key3 : key1, direction};
}

// Single DES over the whole blocks of input with the first 8 key bytes
// (zero-padded). Refuses (false, nothing written) a null input or key and a
// length below 1; trailing bytes after the last whole block are not touched.
bool DES_Run(const std::uint8_t* input, int inputLength, const std::uint8_t* key, int keyLength, std::uint8_t* output,
             DesDirection direction) {
    if (IsRefused(input, inputLength, key, keyLength)) return false;

    std::uint8_t keyBuffer[kBlockSize] = {};
    std::memcpy(keyBuffer, key, static_cast<std::size_t>(std::min(keyLength, kBlockSize)));
    const int blockCount = inputLength / kBlockSize;
    if (blockCount == 1) {
        const DesKeyedStage stage{DES_MakeHalfKeys(keyBuffer), direction};
        DES_CryptBlockDerivingKeys(input, output, &stage, 1);
        return true;
    }

    DesRoundKeys roundKeys;
    DES_MakeSubkeys(keyBuffer, roundKeys);
    const DesStage stage{&roundKeys, direction};
    SelectDesBlockPath().runBlocks(input, output, static_cast<std::size_t>(blockCount), &stage, 1);
    return true;
}

// Triple DES (encrypt-decrypt-encrypt) with keys 1, 2, 3 from the first 24
// key bytes (zero-padded; key 3 is key 1 unless more than 16 bytes are
// given). Keys shorter than 8 bytes fall back to DES_Run.
bool DES3_Run(const std::uint8_t* input, int inputLength, const std::uint8_t* key, int keyLength,
              std::uint8_t* output, DesDirection direction) {
    if (IsRefused(input, inputLength, key, keyLength)) return false;
    if (keyLength < kBlockSize) return DES_Run(input, inputLength, key, keyLength, output, direction);

    std::uint8_t keyBuffer[kTripleKeySize] = {};
    std::memcpy(keyBuffer, key, static_cast<std::size_t>(std::min(keyLength, kTripleKeySize)));
    const std::uint8_t* key3 = keyLength > 2 * kBlockSize ? keyBuffer + 2 * kBlockSize : keyBuffer;

    const int blockCount = inputLength / kBlockSize;
    if (blockCount == 1) {
        DesKeyedStage stages[3];
        ArrangeTripleStages(DES_MakeHalfKeys(keyBuffer), DES_MakeHalfKeys(keyBuffer + kBlockSize),
                            DES_MakeHalfKeys(key3), direction, stages);
        DES_CryptBlockDerivingKeys(input, output, stages, 3);
        return true;
    }

    DesRoundKeys roundKeys1, roundKeys2, roundKeys3;
    DES_MakeSubkeys(keyBuffer, roundKeys1);
    DES_MakeSubkeys(keyBuffer + kBlockSize, roundKeys2);
    DES_MakeSubkeys(key3, roundKeys3);
    DesStage stages[3];
    ArrangeTripleStages(&roundKeys1, &roundKeys2, &roundKeys3, direction, stages);
    SelectDesBlockPath().runBlocks(input, output, static_cast<std::size_t>(blockCount), stages, 3);
    return true;
}

}  // namespace
}  // namespace secure

// The exports: thin cdecl entry points over the buffer routines, each
// returning false (refused) rather than letting an exception out.

using secure::AtExportBoundary;
using secure::DesDirection;

SECURE_API bool SECURE_CALL DES_Encrypt(const unsigned char* input, int inputLength, const unsigned char* key,
                                        int keyLength, unsigned char* output) {
    return AtExportBoundary(false, [&] {
        return secure::DES_Run(input, inputLength, key, keyLength, output, DesDirection::Encrypt);
    });
}

SECURE_API bool SECURE_CALL DES_Decrypt(const unsigned char* input, int inputLength, const unsigned char* key,
                                        int keyLength, unsigned char* output) {
    return AtExportBoundary(false, [&] {
        return secure::DES_Run(input, inputLength, key, keyLength, output, DesDirection::Decrypt);
    });
}

SECURE_API bool SECURE_CALL DES3_Encrypt(const unsigned char* input, int inputLength, const unsigned char* key,
                                         int keyLength, unsigned char* output) {
    return AtExportBoundary(false, [&] {
        return secure::DES3_Run(input, inputLength, key, keyLength, output, DesDirection::Encrypt);
    });
}

SECURE_API bool SECURE_CALL DES3_Decrypt(const unsigned char* input, int inputLength, const unsigned char* key,
                                         int keyLength, unsigned char* output) {
    return AtExportBoundary(false, [&] {
        return secure::DES3_Run(input, inputLength, key, keyLength, output, DesDirection::Decrypt);
    });
}
