// The arithmetic that judges one transfer: its progress figure, the most a
// body may carry, when it is whole, and when it is too slow to go on.
#include "run/EngineTexts.h"
#include "transfer/LowSpeedWatch.h"
#include "transfer/TransferLimits.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

namespace {

const uint64_t k4GiB = uint64_t{1} << 32;

TEST(TransferProgress, FiguresStayWithinIntWhateverTheCounts) {
    const struct {
        uint64_t received;
        int64_t expected;
        int figure;
    } cases[] = {
        {1500, 1000, 150},
        {999, 1000, 99},
        {0, 1000, 0},
        // A large body against a small announced Length: far beyond int.
        {uint64_t{3} << 30, 10, INT_MAX},
        {UINT64_MAX, 1, INT_MAX},
        // Past 4 GiB the count must not wrap to a small figure.
        {k4GiB + 100, int64_t{8} << 30, 50},
        // Without a size, 5 for every full 8192 bytes, also beyond int.
        {8192 * 3 + 1, 0, 15},
        {k4GiB * 1024, 0, INT_MAX},
        // A negative Length (sign-extended from the manifest) gives no negative figure.
        {1000, -1, 0},
        {1000, INT64_MIN, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ProgressPercent(c.received, c.expected), c.figure) << c.received << " of " << c.expected;
    }
}

TEST(TransferLimits, CeilingIsTheContentLengthElseThePositiveManifestLengthElseTwoGiB) {
    const struct {
        bool hasContentLength;
        uint64_t contentLength;
        int64_t manifestLength;
        uint64_t ceiling;
    } cases[] = {
        {true, 500, 1000, 500},
        {true, 0, 1000, 0},
        {true, k4GiB + 1, 10, k4GiB + 1},
        {false, 0, 1000, 1000},
        {false, 0, int64_t{6} << 30, uint64_t{6} << 30},
        {false, 0, 0, kUnannouncedBodyCeiling},
        {false, 0, -5, kUnannouncedBodyCeiling},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BodyCeiling(c.hasContentLength, c.contentLength, c.manifestLength), c.ceiling)
            << c.hasContentLength << " " << c.contentLength << " " << c.manifestLength;
    }
    EXPECT_EQ(kUnannouncedBodyCeiling, uint64_t{2} * 1024 * 1024 * 1024);
}

TEST(TransferLimits, ContentLengthIsRead64BitWide) {
    const struct {
        const char* text;
        bool valid;
        uint64_t value;
    } cases[] = {
        {"0", true, 0},
        {"1500", true, 1500},
        {" 1500 ", true, 1500},
        {"4294967396", true, k4GiB + 100},  // would wrap to 100 in 32 bits
        {"18446744073709551615", true, UINT64_MAX},
        {"18446744073709551616", false, 0},
        {"", false, 0},
        {"-1", false, 0},
        {"12abc", false, 0},
        {"1 2", false, 0},
    };
    for (const auto& c : cases) {
        uint64_t value = 77;
        EXPECT_EQ(ParseContentLength(c.text, &value), c.valid) << '"' << c.text << '"';
        EXPECT_EQ(value, c.valid ? c.value : 77) << '"' << c.text << '"';
    }
}

TEST(TransferLimits, ABodyIsWholeOnlyWhenItsCountMatchesTheAnnouncedLength) {
    EXPECT_TRUE(BodyIsComplete(false, 0, 12345));
    EXPECT_TRUE(BodyIsComplete(true, 100, 100));
    EXPECT_FALSE(BodyIsComplete(true, 100, 99));
    EXPECT_FALSE(BodyIsComplete(true, 100, k4GiB + 100));
    EXPECT_TRUE(BodyIsComplete(true, k4GiB + 100, k4GiB + 100));
}

TEST(LowSpeedWatch, TooSlowOnceAWholePeriodBringsLessThanTheMinimum) {
    const LowSpeedLimit limit{1024, 60000};
    {
        // One byte every 59 seconds: each read is within the per-read
        // time-out, but the first whole period brings far too little.
        LowSpeedWatch watch(limit, 1000);
        EXPECT_TRUE(watch.Arrived(1, 1000 + 59000));
        EXPECT_FALSE(watch.Arrived(1, 1000 + 118000));
    }
    {
        // 1024 bytes a minute is enough, however they are spread.
        LowSpeedWatch watch(limit, 0);
        for (uint64_t minute = 1; minute <= 10; ++minute) {
            EXPECT_TRUE(watch.Arrived(1000, minute * 60000 - 30000)) << minute;
            EXPECT_TRUE(watch.Arrived(24, minute * 60000 - 1)) << minute;
        }
    }
    {
        // The period that follows a good one is judged on its own.
        LowSpeedWatch watch(limit, 0);
        EXPECT_TRUE(watch.Arrived(5000, 100));
        EXPECT_TRUE(watch.Arrived(1023, 60099));
        EXPECT_FALSE(watch.Arrived(0, 60100));
    }
    {
        // A minimum of 0 turns the watch off.
        LowSpeedWatch watch(LowSpeedLimit{0, 1000}, 0);
        EXPECT_TRUE(watch.Arrived(0, 1000000));
    }
    EXPECT_EQ(kDefaultLowSpeedLimit.minimumBytes, 1024u);
    EXPECT_EQ(kDefaultLowSpeedLimit.periodMs, 60000u);
}

TEST(TransferResume, ContentRangeIsReadStrictly) {
    const struct {
        const char* text;
        bool parses;
        uint64_t first, last, total;
    } cases[] = {
        {"bytes 500-999/1000", true, 500, 999, 1000},
        {" bytes 0-0/1 ", true, 0, 0, 1},
        {"bytes 4294967296-8589934591/8589934592", true, uint64_t{1} << 32, (uint64_t{2} << 32) - 1, uint64_t{2} << 32},
        {"bytes 500-999/*", false, 0, 0, 0},
        {"bytes */1000", false, 0, 0, 0},
        {"items 500-999/1000", false, 0, 0, 0},
        {"bytes 999-500/1000", false, 0, 0, 0},
        {"bytes 500-1000/1000", false, 0, 0, 0},
        {"bytes 500-999/1000x", false, 0, 0, 0},
        {"bytes 500-999/99999999999999999999", false, 0, 0, 0},
        {"", false, 0, 0, 0},
    };
    for (const auto& c : cases) {
        ContentRange range;
        ASSERT_EQ(ParseContentRange(c.text, &range), c.parses) << c.text;
        if (!c.parses) continue;
        EXPECT_EQ(range.first, c.first) << c.text;
        EXPECT_EQ(range.last, c.last) << c.text;
        EXPECT_EQ(range.total, c.total) << c.text;
    }
}

// A 416 answer names the whole file's size, which tells whether a partial
// file already holds all of it.
TEST(TransferResume, TheSizeOfAnUnsatisfiableRangeIsReadStrictly) {
    const struct {
        const char* text;
        bool parses;
        uint64_t total;
    } cases[] = {
        {"bytes */1000", true, 1000},
        {" bytes */0 ", true, 0},
        {"bytes */8589934592", true, uint64_t{2} << 32},
        {"bytes 0-999/1000", false, 0},
        {"bytes */", false, 0},
        {"bytes */*", false, 0},
        {"bytes */1000x", false, 0},
        {"items */1000", false, 0},
        {"bytes */99999999999999999999", false, 0},
        {"", false, 0},
    };
    for (const auto& c : cases) {
        uint64_t total = 0;
        ASSERT_EQ(ParseUnsatisfiedRange(c.text, &total), c.parses) << c.text;
        if (c.parses) {
            EXPECT_EQ(total, c.total) << c.text;
        }
    }
}

TEST(TransferResume, ARangeContinuesThePartialFileToItsEndOnly) {
    const struct {
        ContentRange range;
        uint64_t offset;
        bool hasLength;
        uint64_t length;
        bool continues;
    } cases[] = {
        {{500, 999, 1000}, 500, true, 500, true},
        {{500, 999, 1000}, 500, false, 0, true},
        {{400, 999, 1000}, 500, true, 600, false},  // starts elsewhere
        {{500, 899, 1000}, 500, true, 400, false},  // stops short of the end
        {{500, 999, 1000}, 500, true, 499, false},  // length disagrees
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RangeContinues(c.range, c.offset, c.hasLength, c.length), c.continues)
            << c.range.first << "-" << c.range.last << "/" << c.range.total << " at " << c.offset;
    }
}

}  // namespace
