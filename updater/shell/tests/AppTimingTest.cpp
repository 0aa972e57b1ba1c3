// Koravel.exe where its threads meet: a press the moment a page appears,
// reports of the download that arrive late, and an exit while a file is
// still being downloaded.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

#include "ClientFolder.h"
#include "KoravelProcess.h"
#include "ResourceIds.h"
#include "UpdateServer.h"

namespace {

const WPARAM kNotifyItemDone = 2;

// Waits, without pausing, for a page of another process to be shown.
bool SpinUntilShown(HWND page, std::chrono::seconds limit) {
    auto end = std::chrono::steady_clock::now() + limit;
    while ((GetWindowLongA(page, GWL_STYLE) & WS_VISIBLE) == 0) {
        if (std::chrono::steady_clock::now() > end) return false;
        YieldProcessor();
    }
    return true;
}

// The check's worker shows "检测到更新" as its last step; a press at that very
// moment, before the worker has returned, starts the download all the same.
TEST(AppTimingTest, APressTheMomentTheOfferIsShownStartsTheDownload) {
    for (int run = 0; run < 3; ++run) {
        SCOPED_TRACE(run);
        ClientFolder client;
        // Many files already up to date make the check last long enough to be caught.
        std::vector<ServedFile> files = {{"quote.dat", "quote data v2"}};
        for (int i = 0; i < 150; ++i) {
            std::string name = "current" + std::to_string(i) + ".dat";
            files.push_back({name, "older", 20000101});
            WriteWholeFile(client / name, "installed");
        }
        UpdateServer server(client, files);
        KoravelProcess koravel(client.path(), "DownloadWithGUI");
        HWND dialog = koravel.WaitDialog(Gb(u8"自动更新"));
        ASSERT_NE(dialog, nullptr);
        HWND offer = PageWindow(dialog, 1);
        ASSERT_NE(offer, nullptr);
        ASSERT_TRUE(SpinUntilShown(offer, std::chrono::seconds(20)));
        PostMessageA(offer, WM_COMMAND, MAKEWPARAM(IDC_START_UPDATE, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(offer, IDC_START_UPDATE)));
        EXPECT_EQ(WaitForPage(dialog, 6), 6);
        EXPECT_EQ(server.http().RequestCount(server.Target("quote.dat")), 1);
        SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        ClickOnPage(dialog, IDC_EXIT);
        EXPECT_TRUE(koravel.WaitExit());
    }
}

// In the mode that installs at once after the download, the download's
// posted progress may arrive once the installation's page is shown; it
// must not move the installation's bar.
TEST(AppTimingTest, LateDownloadProgressLeavesTheInstallationsBarAlone) {
    ClientFolder client;
    UpdateServer server(client, {{"quote.dat", "quote data v2"}, {"news.dat", "news data v2"}});
    KoravelProcess koravel(client.path(), "ForceDownloadAndUpdate");
    HWND dialog = koravel.WaitDialog(Gb(u8"自动更新"));
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(WaitForPage(dialog, 2), 2);
    ASSERT_TRUE(ClickOnPage(dialog, IDC_START_UPDATE));
    ASSERT_TRUE(WaitFor([&] { return InstallDone(dialog); }));
    HWND install = PageWindow(dialog, 5);
    ASSERT_EQ(ProgressLimit(install), 2);
    ASSERT_EQ(ProgressPosition(install), 2);

    // "File 1 done", as the engine posted it during the download.
    SendMessageA(dialog, kUpdateNotify, kNotifyItemDone, 0);
    EXPECT_EQ(ProgressPosition(install), 2);
    EXPECT_EQ(ProgressLimit(install), 2);
    SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(koravel.WaitExit());
}

// "退出" while a file is still arriving ends the program at once; the file's
// partial download does not stay behind.
TEST(AppTimingTest, ExitDuringADownloadLeavesNoPartialFile) {
    ClientFolder client;
    UpdateServer server(client, {{"news.dat", std::string(4000, 'n'), 20991231, true}});  // some 100 s
    KoravelProcess koravel(client.path(), "DownloadWithGUI");
    HWND dialog = koravel.WaitDialog(Gb(u8"自动更新"));
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(WaitForPage(dialog, 1), 1);
    ASSERT_TRUE(ClickOnPage(dialog, IDC_START_UPDATE));
    ASSERT_EQ(WaitForPage(dialog, 4), 4);
    std::string partial = client.update("news.dat.download");
    ASSERT_TRUE(WaitFor([&] { return PathExists(partial); }));

    ASSERT_TRUE(ClickOnPage(dialog, IDC_EXIT));
    EXPECT_TRUE(koravel.WaitExit());
    EXPECT_FALSE(PathExists(partial));
    EXPECT_FALSE(PathExists(client.update("news.dat")));
}

}  // namespace
