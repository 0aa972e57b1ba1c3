#include "ClientFolder.h"

#include <windows.h>

#include "plan/LocalFileInfo.h"
#include "plan/VersionResource.h"
#include "run/Clock.h"
#include "run/LocalTime.h"

#include <gtest/gtest.h>

#include <ctime>

namespace {

TEST(VersionResource, VersionTextOfAFile) {
    VersionBlock block;
    ASSERT_TRUE(ReadVersionBlock(TestLibrary("kvtest_ver1009.dll").c_str(), &block));
    EXPECT_EQ(FileVersionText(block), "1.0.0.9");
    ASSERT_TRUE(ReadVersionBlock(TestLibrary("kvtest_ver1001.dll").c_str(), &block));
    EXPECT_EQ(FileVersionText(block), "1.0.0.1");
    EXPECT_EQ(ProductVersionText(block), "1.0.0.1");
    EXPECT_FALSE(ReadVersionBlock(TestLibrary("kvtest_noversion.dll").c_str(), &block));
    EXPECT_FALSE(ReadVersionBlock(TestLibrary("missing.dll").c_str(), &block));
}

TEST(LocalTime, TodayAndNowFollowTheLocalClock) {
    std::time_t before = std::time(nullptr);
    int today = Today();
    int now = Now();
    std::time_t after = std::time(nullptr);
    if (std::localtime(&before)->tm_mday != std::localtime(&after)->tm_mday) GTEST_SKIP() << "midnight passed";
    const std::tm* local = std::localtime(&before);
    EXPECT_EQ(today, (local->tm_year + 1900) * 10000 + (local->tm_mon + 1) * 100 + local->tm_mday);
    int seconds = now / 10000 * 3600 + now / 100 % 100 * 60 + now % 100;
    int expected = local->tm_hour * 3600 + local->tm_min * 60 + local->tm_sec;
    EXPECT_LE(expected, seconds);
    EXPECT_LE(seconds - expected, static_cast<int>(after - before) + 1);
}

TEST(LocalFileInfo, ReadsLengthVersionAndDate) {
    ClientFolder client;
    std::string installed = client.InProgram("tool.dll");
    ASSERT_TRUE(CopyFileA(TestLibrary("kvtest_ver1009.dll").c_str(), installed.c_str(), FALSE));
    SetModifiedDate(installed, 2021, 3, 4);
    UpdateItem record(installed);
    ASSERT_TRUE(ReadLocalInfo(&record));
    EXPECT_EQ(record.fileName, "tool.dll");
    EXPECT_EQ(record.length, static_cast<int64_t>(ReadWholeFile(installed).size()));
    EXPECT_EQ(record.fileVersion, "1.0.0.9");
    EXPECT_EQ(record.itemDate, 20210304);

    std::string plain = client.InProgram("plain.txt");
    WriteWholeFile(plain, "text");
    SetModifiedDate(plain, 2020, 12, 31);
    UpdateItem plainRecord(plain);
    ASSERT_TRUE(ReadLocalInfo(&plainRecord));
    EXPECT_EQ(plainRecord.fileVersion, "");
    EXPECT_EQ(plainRecord.itemDate, 20201231);

    UpdateItem missing(client.InProgram("none.txt"));
    EXPECT_FALSE(ReadLocalInfo(&missing));
    UpdateItem empty;
    EXPECT_FALSE(ReadLocalInfo(&empty));
}

}  // namespace
