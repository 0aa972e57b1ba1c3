// Installation by a running Koravel.exe: the client's windows are closed,
// the files put in place, and "完成" starts the client again.
#include <gtest/gtest.h>

#include <windows.h>

#include "ClientFolder.h"
#include "KoravelProcess.h"
#include "ResourceIds.h"
#include "TestClientProcess.h"

TEST(AppInstallTest, ForceUpdateClosesTheClientInstallsAndFinishStartsTheClient) {
    ClientFolder client;
    client.StageDownloads({{"quote.dat"}, {"KoravelRC.dll"}, {"skipped.dat", false}});
    WriteWholeFile(client.update("WhatNews.txt"), Gb(u8"新版本说明"));
    TestClientProcess windows(client.path(), "--windows --info-title=" + Gb(u8"资讯中心"));
    ASSERT_TRUE(windows.WaitReady());

    KoravelProcess koravel(client.path(), "ForceUpdate");
    HWND dialog = koravel.WaitDialog(Gb(u8"自动更新"));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(WaitForPage(dialog, 5), 5);
    ASSERT_TRUE(WaitFor([&] { return InstallDone(dialog); }));

    HWND page = VisiblePageWindow(dialog);
    std::string log = windows.Log();
    EXPECT_EQ(CountLines(log, "CLOSE Quorvane"), 1);
    EXPECT_EQ(CountLines(log, "CLOSE " + Gb(u8"Mirenda行情终端")), 1);
    EXPECT_EQ(CountLines(log, "CLOSE " + Gb(u8"资讯中心")), 1);
    EXPECT_EQ(ReadWholeFile(client / "quote.dat"), "new quote.dat");
    EXPECT_EQ(ReadWholeFile(client / "KoravelRC.dll.update"), "new KoravelRC.dll");
    EXPECT_FALSE(PathExists(client / "KoravelRC.dll"));
    EXPECT_FALSE(PathExists(client / "skipped.dat"));
    EXPECT_FALSE(PathExists(client.update("QMUpdateFileList.txt")));
    EXPECT_EQ(client.UpdateFlag(), "FALSE");
    EXPECT_EQ(WindowText(GetDlgItem(page, IDC_NOTES)), Gb(u8"新版本说明"));
    EXPECT_EQ(ProgressPosition(page), 2);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, IDC_FINISH)));

    EXPECT_TRUE(ClickOnPage(dialog, IDC_FINISH));  // "完成"
    EXPECT_TRUE(koravel.WaitExit());
    ASSERT_TRUE(WaitFor([&] { return windows.Log().find("Updata") != std::string::npos; }));
    std::string restart = windows.Log().substr(windows.Log().rfind("START "));
    EXPECT_NE(restart.find("Stock.exe"), std::string::npos);
    EXPECT_EQ(restart.substr(restart.size() - 8), "Updata\r\n");
}

TEST(AppInstallTest, CloseBoxAfterInstallationStartsNothing) {
    ClientFolder client;
    client.StageDownloads({{"quote.dat"}});
    KoravelProcess koravel(client.path(), "ForceUpdate");
    HWND dialog = koravel.WaitDialog(Gb(u8"自动更新"));
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(WaitFor([&] { return InstallDone(dialog); }));
    EXPECT_EQ(ReadWholeFile(client / "quote.dat"), "new quote.dat");

    SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(koravel.WaitExit());
    PumpMessagesFor(std::chrono::seconds(1));
    EXPECT_FALSE(PathExists(client / "client-log.txt"));
}
