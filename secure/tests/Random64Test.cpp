#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "dh/Random64.h"
#include "secure.h"

namespace secure {
namespace {

// The feedback step as written: shift right, and XOR the taps in when the
// bit shifted out was 1.
std::uint32_t NextFeedback(std::uint32_t a) {
    return (a & 1u) ? (a >> 1) ^ 0xC000002Au : a >> 1;
}

// Counter readings for the known-answer test, with halves that are negative
// as signed 32-bit integers, so the signed products are exercised.
std::atomic<int> scriptedReads{0};
std::uint64_t ScriptedCounter() {
    static const std::uint64_t readings[] = {0x89ABCDEF12345678ull, 0x00000001FFFFFFFFull, 0xFFFFFFFF80000000ull,
                                             0x7FFFFFFF7FFFFFFFull};
    return readings[scriptedReads++ % 4];
}

TEST(Random64Source, FollowsTheMixingStepsOnKnownCounterReadings) {
    scriptedReads = 0;
    Random64Source source(&ScriptedCounter);
    EXPECT_EQ(source.Next(), 0xB168E4FDull);
    EXPECT_EQ(source.Words().feedback, 0x4A624A8Au);
    EXPECT_EQ(source.Words().mixing, 0xB168E4FEu);
    EXPECT_EQ(source.Next(), 0x3FFFFFFF2CE0DD8Bull);
    EXPECT_EQ(source.Words().feedback, 0x25312545u);
    EXPECT_EQ(source.Words().mixing, 0x2CE0DD8Au);
}

// A counter that reads 0 and gives up the processor while being read: an
// unguarded draw would be interrupted between reading the words and writing
// them back, and another thread's draw would slip in.
std::uint64_t YieldingZeroCounter() {
    std::this_thread::yield();
    return 0;
}

// With a counter of 0 the draws form one fixed sequence. Concurrent draws
// must hand out exactly its first N values, each once: a lost or torn
// update of the word pair repeats or skips values.
TEST(Random64Source, ConcurrentDrawsHandOutTheSerialSequenceExactlyOnce) {
    constexpr int kThreads = 4;
    constexpr int kDrawsPerThread = 2000;

    Random64Source serial(&YieldingZeroCounter);
    std::vector<std::uint64_t> expected;
    for (int i = 0; i < kThreads * kDrawsPerThread; ++i) expected.push_back(serial.Next());

    Random64Source shared(&YieldingZeroCounter);
    std::vector<std::vector<std::uint64_t>> drawn(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < kDrawsPerThread; ++i) drawn[t].push_back(shared.Next());
        });
    }
    for (auto& thread : threads) thread.join();

    std::vector<std::uint64_t> all;
    for (const auto& values : drawn) all.insert(all.end(), values.begin(), values.end());
    std::sort(all.begin(), all.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(all, expected);
    EXPECT_EQ(shared.Words().feedback, serial.Words().feedback);
    EXPECT_EQ(shared.Words().mixing, serial.Words().mixing);
}

// The library's own source, drawn through DH_GetPrivateKey (one draw per
// call) from many threads with the real counter: its feedback word must have
// advanced by exactly one step per call.
TEST(LibraryRandom64, FeedbackWordAdvancesOncePerPrivateKeyDrawUnderConcurrency) {
    constexpr int kThreads = 4;
    constexpr int kDrawsPerThread = 50000;

    std::uint32_t expected = LibraryRandom64Words().feedback;
    for (int i = 0; i < kThreads * kDrawsPerThread; ++i) expected = NextFeedback(expected);

    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([] {
            std::uint64_t privateKey = 0;
            for (int i = 0; i < kDrawsPerThread; ++i) DH_GetPrivateKey(2147483647u, 7, &privateKey);
        });
    }
    for (auto& thread : threads) thread.join();

    EXPECT_EQ(LibraryRandom64Words().feedback, expected);
}

}  // namespace
}  // namespace secure
