// Closing the client's windows before installation, against the test client
// program and its real top-level windows.
#include <gtest/gtest.h>

#include "install/ClientWindows.h"
#include "TestClientProcess.h"
#include "TestSupport.h"

TEST(ClientWindowsTest, ClosesTheClientWindowsUntilGoneAndLeavesLookalikes) {
    ScratchFolder folder;
    TestClientProcess client(folder.Path(), "--windows --stubborn=2 --info-title=" + Gb(u8"资讯中心 - Quorvane"));
    ASSERT_TRUE(client.WaitReady());

    CloseClientWindows();

    std::string log = client.Log();
    EXPECT_EQ(FindWindowA(nullptr, "Quorvane"), nullptr);
    EXPECT_EQ(FindWindowA(nullptr, Gb(u8"Mirenda行情终端").c_str()), nullptr);
    EXPECT_EQ(FindWindowA("TfrmMain", nullptr), nullptr);
    EXPECT_NE(FindWindowA(nullptr, "Quorvane Pro"), nullptr);
    // Asked three times: twice refused, then closed.
    EXPECT_EQ(CountLines(log, "CLOSE Quorvane"), 3);
    EXPECT_EQ(CountLines(log, "CLOSE " + Gb(u8"Mirenda行情终端")), 1);
    EXPECT_EQ(CountLines(log, "CLOSE " + Gb(u8"资讯中心 - Quorvane")), 1);
    EXPECT_EQ(CountLines(log, "CLOSE Quorvane Pro"), 0);
}

TEST(ClientWindowsTest, InformationWindowWithoutItsMarkStaysOpen) {
    ScratchFolder folder;
    TestClientProcess client(folder.Path(), "--windows --info-title=" + Gb(u8"行情新闻"));
    ASSERT_TRUE(client.WaitReady());

    CloseClientWindows();

    EXPECT_NE(FindWindowA("TfrmMain", nullptr), nullptr);
    EXPECT_EQ(CountLines(client.Log(), "CLOSE " + Gb(u8"行情新闻")), 0);
    EXPECT_EQ(FindWindowA(nullptr, "Quorvane"), nullptr);
}
