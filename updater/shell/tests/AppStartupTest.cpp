// Koravel.exe as the client starts it: mode words, the message for anything
// else, one instance at a time, and the resource library.
#include <gtest/gtest.h>

#include "ClientFolder.h"
#include "KoravelProcess.h"
#include "ResourceIds.h"

namespace {

const int kMessageBoxText = 0xFFFF;

std::string MessageBoxText(HWND box) { return WindowText(GetDlgItem(box, kMessageBoxText)); }

}  // namespace

TEST(AppStartupTest, ModeWordInAnyLetterCaseOpensTheWindowAndLeavesTheDownloadsAlone) {
    for (const char* word : {"uPdAtE", "UPDATE"}) {
        SCOPED_TRACE(word);
        ClientFolder client;
        client.StageDownloads({{"quote.dat"}});
        KoravelProcess koravel(client.path(), word);
        HWND dialog = koravel.WaitDialog(Gb(u8"自动更新"));
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(WaitForPage(dialog, 0), 0);
        EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(dialog) != FALSE; }));
        PumpMessagesFor(std::chrono::milliseconds(500));
        EXPECT_TRUE(PathExists(client.update("QMUpdateFileList.txt")));
        EXPECT_FALSE(PathExists(client / "quote.dat"));

        EXPECT_TRUE(ClickOnPage(dialog, IDC_EXIT));  // "关闭"
        EXPECT_TRUE(koravel.WaitExit());
    }
}

TEST(AppStartupTest, AnythingButAModeWordShowsTheStartMessage) {
    for (const char* text : {"Update ", "Update Download", "", "Updata"}) {
        SCOPED_TRACE(std::string("\"") + text + "\"");
        ClientFolder client;
        KoravelProcess koravel(client.path(), text);
        HWND box = koravel.WaitDialog();
        ASSERT_NE(box, nullptr);
        EXPECT_TRUE(WaitFor([&] { return MessageBoxText(box) == Gb(u8"请用Quorvane启动！"); }));
        EXPECT_EQ(koravel.FindDialog(Gb(u8"自动更新")), nullptr);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(koravel.WaitExit());
    }
}

TEST(AppStartupTest, SecondUpdaterEndsAtOnceWhileTheFirstRuns) {
    ClientFolder client;
    KoravelProcess first(client.path(), "DownloadAndUpdate");
    ASSERT_NE(first.WaitDialog(Gb(u8"自动更新")), nullptr);

    ClientFolder other;
    KoravelProcess second(other.path(), "ShowNoUpdateInfo");
    EXPECT_TRUE(second.WaitExit(10000));
    EXPECT_EQ(second.FindDialog(), nullptr);
    EXPECT_TRUE(first.running());
}

TEST(AppStartupTest, ResourceLibraryIsTheSourceOfDialogsAndStrings) {
    ClientFolder client;
    client.AddResourceLibrary();
    {
        KoravelProcess koravel(client.path(), "ShowNoUpdateInfo");
        HWND dialog = koravel.WaitDialog("Library Updater");
        ASSERT_NE(dialog, nullptr);
        WaitFor([&] { return VisiblePageWindow(dialog) != nullptr; });
        HWND page = VisiblePageWindow(dialog);
        EXPECT_EQ(WindowText(GetDlgItem(page, IDC_HEADING)), "Lib no update");
        EXPECT_EQ(WindowText(GetDlgItem(page, IDC_TEXT1)), "Lib no update text");
        EXPECT_EQ(WindowText(GetDlgItem(page, IDC_EXIT)), "Lib Close");

        PostMessageA(dialog, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
        HWND about = koravel.WaitDialog("About Library Updater");
        ASSERT_NE(about, nullptr);
        EXPECT_EQ(WindowText(GetDlgItem(about, IDC_ABOUT_TEXT)), "Library Updater 1.0.3.0");
        PostMessageA(about, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(WaitFor([&] { return !IsWindow(about); }));
        SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_TRUE(koravel.WaitExit());
    }
    KoravelProcess rejected(client.path(), "Help");
    HWND box = rejected.WaitDialog();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(WaitFor([&] { return MessageBoxText(box) == "Library: start from the client"; }));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(rejected.WaitExit());
}
