#include "run/Clock.h"
#include "run/EngineTexts.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

TEST(Clock, DateAndTimeNumbers) {
    EXPECT_EQ(DateNumber(2024, 3, 5), 20240305);
    EXPECT_EQ(std::to_string(DateNumber(2024, 3, 5)).substr(4, 2), "03");
    EXPECT_EQ(TimeNumber(9, 30, 5), 93005);
    EXPECT_EQ(TimeNumber(23, 59, 59), 235959);
}

TEST(Clock, VersionTextTakesTheHighHalfFirst) {
    VersionBlock block;
    block.fileVersionMS = 0x00010002;
    block.fileVersionLS = 0x0003000A;
    block.productVersionMS = 0xFFFF0000;
    block.productVersionLS = 0x00000001;
    EXPECT_EQ(FileVersionText(block), "1.2.3.10");
    EXPECT_EQ(ProductVersionText(block), "65535.0.0.1");
}

TEST(Clock, StopwatchWritesItsLabelAndTime) {
    testing::internal::CaptureStdout();
    { Stopwatch watch("\nReadFromXMLFile_V2"); }
    std::string trace = testing::internal::GetCapturedStdout();
    EXPECT_EQ(trace.rfind("\nReadFromXMLFile_V2: times: ", 0), 0u) << trace;
    EXPECT_EQ(trace.substr(trace.size() - 3), " s\n");
}

TEST(EngineTexts, ProgressFigures) {
    EXPECT_EQ(ProgressPercent(8192, 0), 5);
    EXPECT_EQ(ProgressPercent(16384, 0), 10);
    EXPECT_EQ(ProgressPercent(16384 + 100, 0), 10);
    EXPECT_EQ(ProgressPercent(1500, 1000), 150);
    EXPECT_EQ(ProgressPercent(333, 1000), 33);
}

TEST(EngineTexts, ItemTextsInGb2312) {
    EXPECT_EQ(ItemResultText(2, "a.dll", true),
              "\xcf\xc2\xd4\xd8\xb5\xda 2 \xb8\xf6\xce\xc4\xbc\xfe a.dll \xb3\xc9\xb9\xa6");
    EXPECT_EQ(ItemResultText(1, "a.dll", false),
              "\xcf\xc2\xd4\xd8\xb5\xda 1 \xb8\xf6\xce\xc4\xbc\xfe a.dll \xca\xa7\xb0\xdc");
    EXPECT_EQ(ItemSkippedText(3, "b.txt"),
              "\xcf\xc2\xd4\xd8\xb5\xda 3 \xb8\xf6\xce\xc4\xbc\xfe b.txt "
              "\xc9\xcf\xb4\xce\xd2\xd1\xbe\xad\xcf\xc2\xd4\xd8\xb9\xfd");
    EXPECT_EQ(ItemRetryText("a.dll"), "a.dll \xd6\xd8\xd0\xc2\xb3\xa2\xca\xd4\xcf\xc2\xd4\xd8");
    EXPECT_STREQ(InetFailureText(7), "\xb4\xb4\xbd\xa8\xb1\xbe\xb5\xd8\xce\xc4\xbc\xfe\xca\xa7\xb0\xdc");
    EXPECT_STREQ(InetFailureText(0), InetFailureText(42));
    EXPECT_STRNE(InetFailureText(1), InetFailureText(0));
}

TEST(EngineTexts, LongTextsAreBoundedAndCutAtWholeCharacters) {
    std::string longName(300, 'x');
    EXPECT_LE(ItemResultText(1, longName, true).size(), 259u);
    std::unique_ptr<char[]> text(NewNotifyText("ab" + std::string(300, '\xce')));
    EXPECT_EQ(std::strlen(text.get()), 258u);  // "ab" and 128 whole characters; the 129th would split
    EXPECT_EQ(text[259], '\0');
}

}  // namespace
