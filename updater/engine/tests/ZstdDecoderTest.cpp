// The decoder of compressed files and patches: the exact file from a whole
// stream or a patch fed in any pieces; and every stream that breaks the
// manifest's promise (wrong base, damage, a cut, more bytes than the file's
// size, a window or size beyond the limits) fails without a byte past the
// expected size reaching the sink and without memory for what it claims.
#include "DecodeInMemory.h"
#include "DeltaFixtures.h"
#include "HandMadeFrame.h"
#include "delta/DeltaLimits.h"
#include "delta/ZstdDecoder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace {

class StringSink : public DecodeSink {
public:
    bool Write(const char* bytes, size_t size) override {
        ++writes;
        text.append(bytes, size);
        return true;
    }
    std::string text;
    int writes = 0;
};

// Far less than the claims below, and far less than what they would decode to.
constexpr size_t kSmallMemory = 1024 * 1024;

TEST(ZstdDecoder, WholeFileAndPatchGiveTheExactFileInAnyPieces) {
    const std::string newer = NewerFile();
    const std::string older = OlderFile();
    const struct {
        const char* what;
        std::string stream;
        std::optional<std::string> base;
    } streams[] = {{"compressed", NewerCompressed(), std::nullopt}, {"patch", NewerPatchFromOlder(), older}};
    for (const auto& s : streams) {
        for (size_t piece : {size_t{1}, size_t{7}, size_t{4096}, SIZE_MAX}) {
            const DecodeOutcome outcome = DecodeInMemory(s.stream, newer.size(), s.base, piece);
            EXPECT_EQ(outcome.fed, DecodeStatus::kOk) << s.what << " in pieces of " << piece;
            EXPECT_EQ(outcome.finished, DecodeStatus::kOk) << s.what << " in pieces of " << piece;
            EXPECT_TRUE(outcome.output == newer) << s.what << " in pieces of " << piece;
        }
    }
}

TEST(ZstdDecoder, AnotherBaseFails) {
    const std::string newer = NewerFile();
    const std::string patch = NewerPatchFromOlder();

    // The base the manifest names has another size than the copy at hand:
    // refused before a byte is decoded.
    std::string shorter = OlderFile();
    shorter.pop_back();
    StringSink sink;
    ZstdDecoder decoder(newer.size(), PatchBase{shorter.data(), shorter.size(), shorter.size() + 1}, sink);
    EXPECT_EQ(decoder.Feed(patch.data(), patch.size()), DecodeStatus::kWrongBase);
    EXPECT_EQ(sink.writes, 0);

    // Same size, other bytes: the copies decode to wrong bytes, which the
    // frame's content checksum catches at its end.
    std::string changed = OlderFile();
    changed[changed.size() / 2] ^= 0x20;
    const DecodeOutcome outcome = DecodeInMemory(patch, newer.size(), changed);
    EXPECT_EQ(outcome.finished, DecodeStatus::kCorrupt);
    EXPECT_FALSE(outcome.output == newer);

    // A patch decoded without its base refers to bytes it does not have.
    EXPECT_NE(DecodeInMemory(patch, newer.size(), std::string()).finished, DecodeStatus::kOk);
}

TEST(ZstdDecoder, DamagedStreamsFail) {
    const std::string newer = NewerFile();
    const std::string compressed = NewerCompressed();
    const struct {
        const char* what;
        std::string stream;
        DecodeStatus expected;
    } cases[] = {
        {"not a frame", "PK\x03\x04 a zip file, say", DecodeStatus::kCorrupt},
        {"a byte changed in the blocks", [&] {
             std::string s = compressed;
             s[s.size() / 2] ^= 0x5A;
             return s;
         }(), DecodeStatus::kCorrupt},
        {"the checksum changed", [&] {
             std::string s = compressed;
             s.back() ^= 1;
             return s;
         }(), DecodeStatus::kCorrupt},
        {"bytes after the frame", compressed + "x", DecodeStatus::kCorrupt},
        {"a second frame after the first", compressed + EmptyCompressed(), DecodeStatus::kCorrupt},
    };
    for (const auto& c : cases) {
        const DecodeOutcome outcome = DecodeInMemory(c.stream, newer.size(), std::nullopt, 1000);
        EXPECT_EQ(outcome.finished, c.expected) << c.what;
        EXPECT_LE(outcome.output.size(), newer.size()) << c.what;
    }
}

TEST(ZstdDecoder, AStreamCutAnywhereIsTruncated) {
    const std::string newer = NewerFile();
    const std::string compressed = NewerCompressed();
    for (size_t cut : {size_t{0}, size_t{1}, size_t{5}, size_t{9}, compressed.size() / 3, compressed.size() - 5,
                       compressed.size() - 1}) {
        const DecodeOutcome outcome = DecodeInMemory(compressed.substr(0, cut), newer.size(), std::nullopt);
        EXPECT_EQ(outcome.fed, DecodeStatus::kOk) << "cut at " << cut;
        EXPECT_EQ(outcome.finished, DecodeStatus::kTruncated) << "cut at " << cut;
    }
}

TEST(ZstdDecoder, StreamsBeyondThePromiseFailWithoutTheirMemory) {
    constexpr uint64_t kExpected = 1000;
    const struct {
        const char* what;
        std::string stream;
        DecodeStatus expected;
    } cases[] = {
        {"declares the size and a window of 2^27, then holds 8 MiB", BombFrame(kExpected, 27),
         DecodeStatus::kTooLong},
        {"declares 8 MiB", BombFrame(kBombBytes, 23), DecodeStatus::kSizeMismatch},
        {"declares no size", BombFrame(std::nullopt, 23), DecodeStatus::kSizeMismatch},
        {"one byte more than it declares",
         Frame(kExpected, 10).Raw(std::string(kExpected, 'r')).Raw("!", true).Bytes(), DecodeStatus::kTooLong},
        {"a window beyond the publisher's", Frame(kExpected, kMaxWindowLog + 1).Raw(std::string(1000, 'w'), true).Bytes(),
         DecodeStatus::kWindowTooLarge},
    };
    for (const auto& c : cases) {
        for (size_t piece : {size_t{3}, SIZE_MAX}) {
            const DecodeOutcome outcome = DecodeInMemory(c.stream, kExpected, std::nullopt, piece);
            EXPECT_EQ(outcome.finished, c.expected) << c.what << " in pieces of " << piece;
            EXPECT_LE(outcome.output.size(), kExpected) << c.what;
            EXPECT_LT(outcome.peakMemory, kSmallMemory) << c.what;
        }
    }
    // The same frames, honest, decode.
    const std::string honestFrame = Frame(kExpected, 10).Raw(std::string(kExpected, 'r'), true).Bytes();
    const DecodeOutcome honest = DecodeInMemory(honestFrame, kExpected, std::nullopt, 3);
    EXPECT_EQ(honest.finished, DecodeStatus::kOk);
    EXPECT_EQ(honest.output, std::string(kExpected, 'r'));
}

TEST(ZstdDecoder, AnEmptyFile) {
    const DecodeOutcome empty = DecodeInMemory(EmptyCompressed(), 0, std::nullopt);
    EXPECT_EQ(empty.finished, DecodeStatus::kOk);
    EXPECT_EQ(empty.output, "");

    // The manifest says empty; the stream holds the newer file, or claims
    // to be empty and holds a byte.
    EXPECT_EQ(DecodeInMemory(NewerCompressed(), 0, std::nullopt).finished, DecodeStatus::kSizeMismatch);
    const DecodeOutcome lying = DecodeInMemory(Frame(0, 10).Raw("x", true).Bytes(), 0, std::nullopt);
    EXPECT_EQ(lying.finished, DecodeStatus::kTooLong);
    EXPECT_EQ(lying.output, "");
}

TEST(ZstdDecoder, ASinkThatFailsStopsTheDecoding) {
    class FailingSink : public DecodeSink {
    public:
        bool Write(const char*, size_t) override { return ++writes < 2; }
        int writes = 0;
    } sink;
    const std::string compressed = NewerCompressed();
    ZstdDecoder decoder(NewerFile().size(), sink);
    EXPECT_EQ(decoder.Feed(compressed.data(), compressed.size()), DecodeStatus::kSinkFailed);
    EXPECT_EQ(sink.writes, 2);
    EXPECT_EQ(decoder.Feed(compressed.data(), 1), DecodeStatus::kSinkFailed);
    EXPECT_EQ(decoder.Finish(), DecodeStatus::kSinkFailed);
}

}  // namespace
