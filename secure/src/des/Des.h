// The DES cipher of this library, in its variant: bits numbered from the
// least significant bit of each byte, S-box results written least
// significant bit first, and no exchange of the halves after the last round.
// Des.cpp defines everything declared here, beside the four DES exports that
// run on it.
//
// DesBitsliced.cpp includes this header in builds for wider instruction
// sets, so it defines no inline function that is not a template: the linker
// could otherwise keep a wider copy for every caller.
#pragma once

#include <cstddef>
#include <cstdint>

namespace secure {

enum class DesDirection : int { Encrypt = 0, Decrypt = 1 };

// The sixteen 48-bit round keys K1 ... K16, each stored as its eight 6-bit
// S-box groups: groups 1, 3, 5, 7 in bytes 0-3 of oddGroups, groups 2, 4, 6,
// 8 in bytes 0-3 of evenGroups. The first entry of a group is its bit 0.
struct DesRoundKeys {
    std::uint32_t oddGroups[16];
    std::uint32_t evenGroups[16];
};

// Derives the round-key set of one 8-byte key. The most significant bit of
// every key byte is left out by permuted choice 1; parity is never checked.
void DES_MakeSubkeys(const std::uint8_t key[8], DesRoundKeys& roundKeys);

// C0 and D0 of a key after permuted choice 1, each held twice over side by
// side (entries 1 ... 28 in bits 0 ... 27 and again in bits 28 ... 55).
struct DesHalfKeys {
    std::uint64_t c;
    std::uint64_t d;
};

DesHalfKeys DES_MakeHalfKeys(const std::uint8_t key[8]);

// Encrypts or decrypts one 8-byte block. The block is read completely before
// the result is written, so input and output may be the same bytes.
void DES_CryptBlock(const std::uint8_t input[8], std::uint8_t output[8], const DesRoundKeys& roundKeys,
                    DesDirection direction);

// One cipher pass whose round keys are derived during the rounds.
struct DesKeyedStage {
    DesHalfKeys halfKeys;
    DesDirection direction;
};

// One block through all stages in order, deriving each round key as its
// round comes. For a single block this overlaps the key schedule with the
// rounds, which wait on each other, instead of running it first. Input and
// output may be the same bytes.
void DES_CryptBlockDerivingKeys(const std::uint8_t input[8], std::uint8_t output[8], const DesKeyedStage* stages,
                                int stageCount);

// One cipher pass over a block: a round-key set and a direction. Single DES
// runs one stage per block, triple DES three, each on the previous result.
struct DesStage {
    const DesRoundKeys* roundKeys;
    DesDirection direction;
};

// A whole-buffer block implementation, so that faster ones (several blocks
// at a time) can be chosen without touching the buffer routines.
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
// batches (DesBitsliced.h) of 64 blocks in plain 64-bit words, 128 in SSE2
// registers and 256 in AVX2 registers.
enum class DesPathKind { Table, Portable, Sse2, Avx2 };

// The table path, which handles every block count on every processor.
const DesBlockPath& TableDesBlockPath();

// The implementation of the given kind, or nullptr where this build lacks it
// or this processor cannot run it.
const DesBlockPath* FindDesBlockPath(DesPathKind kind);

// The block implementation used by the buffer routines: the widest one that
// this build has and this processor can run.
const DesBlockPath& SelectDesBlockPath();

// What the processor running this code offers, asked through CPUID
// (including whether the operating system saves the wider registers).
bool ProcessorHasSse2();
bool ProcessorHasAvx2();

// No exception may leave a DES export: its caller is C, or C++ of another
// compiler, and an exception it cannot take ends the client's program. The
// body's result, or `failure` when the body threw.
template <class Result, class Body>
Result AtExportBoundary(Result failure, Body body) noexcept {
    try {
        return body();
    } catch (...) {
        return failure;
    }
}

}  // namespace secure
