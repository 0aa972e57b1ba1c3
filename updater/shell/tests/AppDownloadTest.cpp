// Koravel.exe checking and downloading against an update server on
// 127.0.0.1: the silent run, and the page sequences of the window modes.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "ClientFolder.h"
#include "KoravelProcess.h"
#include "ResourceIds.h"
#include "TestClientProcess.h"
#include "UpdateServer.h"

TEST(AppDownloadTest, SilentDownloadFetchesThePlannedFilesWithoutAWindowAndLeavesStockIniAlone) {
    ClientFolder client;
    UpdateServer server(client, {{"quote.dat", "quote data v2"}, {"news.dat", "news data v2"}});
    std::string settings = ReadWholeFile(client / "Stock.ini");

    KoravelProcess koravel(client.path(), "Download");
    bool windowSeen = false;
    bool ended = WaitFor([&] {
        windowSeen = windowSeen || koravel.AnyVisibleWindow();
        return !koravel.running();
    });
    EXPECT_TRUE(ended);
    EXPECT_FALSE(windowSeen);

    EXPECT_EQ(server.http().RequestCount(server.Target("quote.dat")), 1);
    EXPECT_EQ(server.http().RequestCount(server.Target("news.dat")), 1);
    EXPECT_EQ(server.http().RequestCount("/Update.xml"), 0);
    EXPECT_EQ(server.http().RequestCount("/WhatNews.txt"), 0);
    EXPECT_EQ(ReadWholeFile(client.update("quote.dat")), "quote data v2");
    EXPECT_EQ(ReadWholeFile(client.update("news.dat")), "news data v2");
    EXPECT_FALSE(PathExists(client / "quote.dat"));
    std::string state = ReadWholeFile(client.update("QMUpdateFileList.txt"));
    EXPECT_NE(state.find("DESTFILE " + (client / "quote.dat")), std::string::npos);
    EXPECT_NE(state.find("DESTFILE " + (client / "news.dat")), std::string::npos);
    EXPECT_EQ(state.find("DOWNLOADSTATUS FALSE"), std::string::npos);
    EXPECT_EQ(ReadWholeFile(client / "Stock.ini"), settings);
    // The trace lines reach the redirected standard output.
    EXPECT_NE(koravel.Output().find("Processing " + server.http().Url(server.Target("quote.dat"))), std::string::npos);
}

TEST(AppDownloadTest, CheckThenHiddenDownloadThenInstallThenFinishRestartsTheClient) {
    ClientFolder client;
    UpdateServer server(client, {{"quote.dat", "quote data v2"}, {"news.dat", std::string(96, 'n'), 20991231, true}});
    WriteWholeFile(client.update("WhatNews.txt"), Gb(u8"本次更新：行情加速"));

    KoravelProcess koravel(client.path(), "DownloadWithGUI");
    HWND dialog = koravel.WaitDialog(Gb(u8"自动更新"));
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(WaitForPage(dialog, 1), 1);
    EXPECT_TRUE(IsWindowVisible(dialog));

    // "立即更新": the download runs hidden, with the icon in the tray.
    ASSERT_TRUE(ClickOnPage(dialog, IDC_START_UPDATE));
    ASSERT_EQ(WaitForPage(dialog, 4), 4);
    HWND downloadPage = PageWindow(dialog, 4);
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(dialog); }));
    SendMessageA(dialog, kTrayNotify, IDR_TRAY_MENU, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(dialog) != FALSE; }));
    EXPECT_EQ(VisiblePage(dialog), 4);
    // The engine reports the notes and the file count once it has started.
    EXPECT_TRUE(WaitFor([&] { return WindowText(GetDlgItem(downloadPage, IDC_NOTES)) == Gb(u8"本次更新：行情加速"); }));
    EXPECT_TRUE(WaitFor([&] { return ProgressLimit(downloadPage) == 2; }));
    EXPECT_TRUE(WaitFor([&] { return ProgressPosition(downloadPage) >= 1; }));

    ASSERT_EQ(WaitForPage(dialog, 6), 6);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(ProgressPosition(downloadPage), 2);
    EXPECT_EQ(client.UpdateFlag(), "TRUE");
    EXPECT_FALSE(PathExists(client / "quote.dat"));

    // "立即安装", then "完成".
    ASSERT_TRUE(ClickOnPage(dialog, IDC_INSTALL_NOW));
    ASSERT_TRUE(WaitFor([&] { return InstallDone(dialog); }));
    EXPECT_EQ(ReadWholeFile(client / "quote.dat"), "quote data v2");
    EXPECT_EQ(ReadWholeFile(client / "news.dat"), std::string(96, 'n'));
    EXPECT_EQ(client.UpdateFlag(), "FALSE");
    EXPECT_FALSE(PathExists(client.update("QMUpdateFileList.txt")));
    EXPECT_TRUE(koravel.running());

    ASSERT_TRUE(ClickOnPage(dialog, IDC_FINISH));
    EXPECT_TRUE(koravel.WaitExit());
    EXPECT_TRUE(WaitFor([&] { return ReadWholeFile(client / "client-log.txt").find("Updata") != std::string::npos; }));
}

TEST(AppDownloadTest, NothingToUpdateShowsNoUpdatePageWhoseCloseBoxEnds) {
    ClientFolder client;
    WriteWholeFile(client / "quote.dat", "installed");  // modified today, newer than the offer
    UpdateServer server(client, {{"quote.dat", "older data", 20000101}});

    KoravelProcess koravel(client.path(), "DownloadWithGUI");
    HWND dialog = koravel.WaitDialog(Gb(u8"自动更新"));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(WaitForPage(dialog, 3), 3);
    SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(koravel.WaitExit());
    EXPECT_EQ(server.http().RequestCount(server.Target("quote.dat")), 0);
}

TEST(AppDownloadTest, FailedDownloadShowsTheFailedPageAndLeavesTheFlagUnset) {
    for (const char* mode : {"DownloadWithGUI", "ForceDownloadAndUpdate"}) {
        SCOPED_TRACE(mode);
        ClientFolder client;
        UpdateServer server(client, {{"missing.dat", ""}});
        KoravelProcess koravel(client.path(), mode);
        HWND dialog = koravel.WaitDialog(Gb(u8"自动更新"));
        ASSERT_NE(dialog, nullptr);
        int offer = std::string(mode) == "DownloadWithGUI" ? 1 : 2;
        ASSERT_EQ(WaitForPage(dialog, offer), offer);
        ASSERT_TRUE(ClickOnPage(dialog, IDC_START_UPDATE));
        EXPECT_EQ(WaitForPage(dialog, 7), 7);
        EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(dialog) != FALSE; }));
        EXPECT_GE(server.http().RequestCount(server.Target("missing.dat")), 1);
        EXPECT_EQ(client.UpdateFlag(), "(none)");
        SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_TRUE(koravel.WaitExit());
    }
}

TEST(AppDownloadTest, NothingLeftToFetchAtDownloadTimeEndsOnTheFailedPageInTheTrayWithExitAllowed) {
    ClientFolder client;
    UpdateServer server(client, {{"quote.dat", "quote data v2", 20200101}});
    KoravelProcess koravel(client.path(), "DownloadWithGUI");
    HWND dialog = koravel.WaitDialog(Gb(u8"自动更新"));
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(WaitForPage(dialog, 1), 1);

    // The file arrives by other means between the check and the download:
    // the download run then plans nothing and leaves no list to install.
    WriteWholeFile(client / "quote.dat", "installed meanwhile");
    ASSERT_TRUE(ClickOnPage(dialog, IDC_START_UPDATE));
    EXPECT_EQ(WaitForPage(dialog, 7), 7);
    PumpMessagesFor(std::chrono::milliseconds(500));
    EXPECT_FALSE(IsWindowVisible(dialog));
    EXPECT_EQ(server.http().RequestCount(server.Target("quote.dat")), 0);
    EXPECT_EQ(client.UpdateFlag(), "(none)");

    // The tray brings the page back; exit is allowed, so its close box ends.
    SendMessageA(dialog, kTrayNotify, IDR_TRAY_MENU, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(dialog) != FALSE; }));
    EXPECT_EQ(WaitForPage(dialog, 7), 7);
    SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(koravel.WaitExit());
    EXPECT_EQ(ReadWholeFile(client / "quote.dat"), "installed meanwhile");
}

TEST(AppDownloadTest, MandatoryUpdateDownloadsInViewAndInstallsAtOnce) {
    ClientFolder client;
    UpdateServer server(client, {{"quote.dat", "quote data v2"}, {"Koravel.exe", "updater v2"}});
    TestClientProcess windows(client.path(), "--windows --info-title=" + Gb(u8"资讯中心"));
    ASSERT_TRUE(windows.WaitReady());

    KoravelProcess koravel(client.path(), "ForceDownloadAndUpdate");
    HWND dialog = koravel.WaitDialog(Gb(u8"自动更新"));
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(WaitForPage(dialog, 2), 2);
    ASSERT_TRUE(ClickOnPage(dialog, IDC_START_UPDATE));
    ASSERT_TRUE(WaitFor([&] { return VisiblePage(dialog) == 4 || VisiblePage(dialog) == 5; }));
    EXPECT_TRUE(IsWindowVisible(dialog));
    ASSERT_TRUE(WaitFor([&] { return InstallDone(dialog); }));

    EXPECT_EQ(ReadWholeFile(client / "quote.dat"), "quote data v2");
    EXPECT_EQ(ReadWholeFile(client / "Koravel.exe.update"), "updater v2");
    EXPECT_NE(ReadWholeFile(client / "Koravel.exe"), "updater v2");
    EXPECT_EQ(CountLines(windows.Log(), "CLOSE Quorvane"), 1);
    EXPECT_EQ(client.UpdateFlag(), "FALSE");
    SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(koravel.WaitExit());
}
