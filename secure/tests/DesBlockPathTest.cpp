// Every block implementation this build has and this processor can run must
// give the same bytes as the table path for every block count, for single
// and triple DES in both directions and in place; go one block after the
// other on partly overlapping buffers; and match the reference DES itself on
// a long buffer. The processor checks must pick the widest path.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#endif

#include "DesReference.h"
#include "des/Des.h"
#include "TestBytes.h"

namespace secure::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A key set as single DES or triple DES (EDE) applies it in one direction.
struct Cipher {
    std::string name;
    std::vector<Block> keys;  // one key, or keys 1, 2, 3
    bool decrypt;
    std::vector<DesRoundKeys> roundKeys;
    std::vector<DesStage> stages;

    Cipher(std::string cipherName, std::vector<Block> cipherKeys, bool decrypting)
        : name(std::move(cipherName)), keys(std::move(cipherKeys)), decrypt(decrypting), roundKeys(keys.size()) {
        for (std::size_t i = 0; i < keys.size(); ++i) DES_MakeSubkeys(keys[i].data(), roundKeys[i]);
        const auto direction = [](bool d) { return d ? DesDirection::Decrypt : DesDirection::Encrypt; };
        if (keys.size() == 1) {
            stages = {{&roundKeys[0], direction(decrypt)}};
        } else if (!decrypt) {
            stages = {{&roundKeys[0], direction(false)}, {&roundKeys[1], direction(true)}, {&roundKeys[2], direction(false)}};
        } else {
            stages = {{&roundKeys[2], direction(true)}, {&roundKeys[1], direction(false)}, {&roundKeys[0], direction(true)}};
        }
    }

    void Run(const DesBlockPath& path, const std::uint8_t* input, std::uint8_t* output, std::size_t blocks) const {
        path.runBlocks(input, output, blocks, stages.data(), static_cast<int>(stages.size()));
    }

    // The same through the literal reference DES, block by block.
    Bytes RunReference(const Bytes& input) const {
        std::vector<ReferenceDes> references;
        for (const Block& key : keys) references.emplace_back(key.data(), DesFlavor::Library());
        Bytes output(input.size());
        for (std::size_t offset = 0; offset + 8 <= input.size(); offset += 8) {
            Block block{};
            std::memcpy(block.data(), input.data() + offset, 8);
            for (std::size_t s = 0; s < stages.size(); ++s) {
                const ReferenceDes& des = references[keys.size() == 1 ? 0 : decrypt ? 2 - s : s];
                const bool stageDecrypts = stages[s].direction == DesDirection::Decrypt;
                block = stageDecrypts ? des.Decrypt(block) : des.Encrypt(block);
            }
            std::memcpy(output.data() + offset, block.data(), 8);
        }
        return output;
    }
};

std::vector<Cipher> RandomCiphers(std::mt19937& generator) {
    std::vector<Cipher> ciphers;
    for (bool decrypt : {false, true}) {
        const std::string direction = decrypt ? " decrypt" : " encrypt";
        ciphers.emplace_back("DES" + direction, std::vector<Block>{RandomBlock(generator)}, decrypt);
        ciphers.emplace_back("triple DES" + direction,
                             std::vector<Block>{RandomBlock(generator), RandomBlock(generator), RandomBlock(generator)},
                             decrypt);
    }
    return ciphers;
}

// Every path this build has and this processor can run.
std::vector<const DesBlockPath*> AvailablePaths() {
    std::vector<const DesBlockPath*> paths;
    for (DesPathKind kind : {DesPathKind::Table, DesPathKind::Portable, DesPathKind::Sse2, DesPathKind::Avx2}) {
        if (const DesBlockPath* path = FindDesBlockPath(kind)) paths.push_back(path);
    }
    return paths;
}

// Beyond two batches of the widest path, so that whole batches, padded
// tails and tails left to the table path all occur.
constexpr std::size_t kMostBlocks = 520;

TEST(DesBlockPaths, MatchTheTablePathForEveryBlockCountSeparateAndInPlace) {
    std::mt19937 generator(1209);
    const Bytes input = RandomBytes(generator, 8 * kMostBlocks + 8);
    const std::vector<Cipher> ciphers = RandomCiphers(generator);
    const DesBlockPath& table = TableDesBlockPath();
    for (const DesBlockPath* path : AvailablePaths()) {
        for (const Cipher& cipher : ciphers) {
            Bytes expected(input.size(), 0xA5);
            cipher.Run(table, input.data(), expected.data(), kMostBlocks);
            for (std::size_t blocks = 0; blocks <= kMostBlocks; ++blocks) {
                SCOPED_TRACE(::testing::Message() << path->name << ", " << cipher.name << ", " << blocks << " blocks");
                // Each block's result does not depend on the count, and
                // nothing past the last block may be written.
                Bytes separate(input.size(), 0xA5);
                cipher.Run(*path, input.data(), separate.data(), blocks);
                ASSERT_TRUE(std::equal(separate.begin(), separate.begin() + 8 * blocks, expected.begin()));
                ASSERT_TRUE(std::all_of(separate.begin() + 8 * blocks, separate.end(), [](auto b) { return b == 0xA5; }));

                Bytes inPlace = input;
                cipher.Run(*path, inPlace.data(), inPlace.data(), blocks);
                ASSERT_TRUE(std::equal(inPlace.begin(), inPlace.begin() + 8 * blocks, expected.begin()));
                ASSERT_TRUE(std::equal(inPlace.begin() + 8 * blocks, inPlace.end(), input.begin() + 8 * blocks));
            }
        }
    }
}

TEST(DesBlockPaths, MatchTheReferenceDesOnALongBuffer) {
    std::mt19937 generator(46);
    const std::size_t blocks = 2 * 256 + 100;
    const Bytes input = RandomBytes(generator, 8 * blocks);
    for (const Cipher& cipher : RandomCiphers(generator)) {
        const Bytes expected = cipher.RunReference(input);
        for (const DesBlockPath* path : AvailablePaths()) {
            SCOPED_TRACE(::testing::Message() << path->name << ", " << cipher.name);
            Bytes output(input.size());
            cipher.Run(*path, input.data(), output.data(), blocks);
            EXPECT_EQ(output, expected);
        }
    }
}

// Output starting one block before or after the input, within the same
// buffer: every path must give what one block after the other gives, each
// block written before the next is read, as the single-block routine does.
TEST(DesBlockPaths, OverlappingBuffersGoOneBlockAfterTheOther) {
    std::mt19937 generator(5);
    const std::size_t blocks = 300;
    const Bytes buffer = RandomBytes(generator, 8 * (blocks + 1));
    const Block key = RandomBlock(generator);
    DesRoundKeys roundKeys;
    DES_MakeSubkeys(key.data(), roundKeys);
    const Cipher cipher("DES encrypt", {key}, false);
    for (std::size_t inputOffset : {0u, 8u}) {
        const std::size_t outputOffset = 8 - inputOffset;
        Bytes expected = buffer;
        for (std::size_t b = 0; b < blocks; ++b) {
            Block block{};
            std::memcpy(block.data(), expected.data() + inputOffset + 8 * b, 8);
            DES_CryptBlock(block.data(), expected.data() + outputOffset + 8 * b, roundKeys, DesDirection::Encrypt);
        }
        for (const DesBlockPath* path : AvailablePaths()) {
            SCOPED_TRACE(::testing::Message() << path->name << ", input at " << inputOffset);
            Bytes actual = buffer;
            cipher.Run(*path, actual.data() + inputOffset, actual.data() + outputOffset, blocks);
            EXPECT_EQ(actual, expected);
        }
    }
}

#if defined(__i386__) || defined(__x86_64__)
// What the operating system reports about the processor, as an independent
// account of the features the library asks CPUID about.
struct ReportedFeatures {
    std::optional<bool> sse2;
    std::optional<bool> avx2;
};

ReportedFeatures FeaturesReportedBySystem() {
#if defined(_WIN32)
    // Windows has no AVX2 flag before Windows 10.
    return {IsProcessorFeaturePresent(PF_XMMI64_INSTRUCTIONS_AVAILABLE) != 0, std::nullopt};
#elif defined(__linux__)
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line;
    while (std::getline(cpuinfo, line)) {
        if (line.rfind("flags", 0) != 0) continue;
        const std::string flags = line + " ";
        const auto has = [&flags](const char* flag) {
            return flags.find(std::string(" ") + flag + " ") != std::string::npos;
        };
        return {has("sse2"), has("avx2")};
    }
    return {};
#else
    return {};
#endif
}

TEST(DesBlockPaths, ProcessorChecksAgreeWithTheOperatingSystem) {
    const ReportedFeatures reported = FeaturesReportedBySystem();
    if (!reported.sse2 && !reported.avx2) GTEST_SKIP() << "the system does not report processor features";
    if (reported.sse2) {
        EXPECT_EQ(ProcessorHasSse2(), *reported.sse2);
    }
    if (reported.avx2) {
        EXPECT_EQ(ProcessorHasAvx2(), *reported.avx2);
    }
}
#endif

TEST(DesBlockPaths, TheWidestAvailablePathIsSelected) {
#if defined(__i386__) || defined(__x86_64__)
    // Every x86 processor this runs on in practice has SSE2; a failing
    // feature check would leave the library on the slow paths unnoticed.
    ASSERT_TRUE(ProcessorHasSse2());
    EXPECT_NE(FindDesBlockPath(DesPathKind::Sse2), nullptr);
#endif
#if defined(__x86_64__)
    EXPECT_EQ(FindDesBlockPath(DesPathKind::Avx2) != nullptr, ProcessorHasAvx2());
#else
    // The 32-bit library has no AVX2 path.
    EXPECT_EQ(FindDesBlockPath(DesPathKind::Avx2), nullptr);
#endif
    const DesBlockPath* widest = nullptr;
    for (DesPathKind kind : {DesPathKind::Avx2, DesPathKind::Sse2, DesPathKind::Portable}) {
        if ((widest = FindDesBlockPath(kind)) != nullptr) break;
    }
    ASSERT_NE(widest, nullptr);
    EXPECT_EQ(&SelectDesBlockPath(), widest) << "selected " << SelectDesBlockPath().name;
}

}  // namespace
}  // namespace secure::testing
