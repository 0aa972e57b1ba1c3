// The update window of a running Koravel.exe: the close box, the tray icon's
// messages, the About box, and the engine's progress reports.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "ClientFolder.h"
#include "KoravelProcess.h"
#include "ResourceIds.h"

namespace {


// The tray menu that the process has open, or null.
HWND WaitTrayMenu() {
    HWND menu = nullptr;
    WaitFor([&] { return (menu = FindWindowA("#32768", nullptr)) != nullptr && IsWindowVisible(menu); },
            std::chrono::seconds(5));
    return menu;
}

void ChooseMenuItem(HWND menu, int position) {
    for (int i = 0; i <= position; ++i) PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
}

}  // namespace

TEST(AppWindowTest, CloseBoxOnlyHidesUntilExitIsAllowedAndTheTrayBringsItBack) {
    ClientFolder client;
    KoravelProcess koravel(client.path(), "DownloadAndUpdate");
    HWND dialog = koravel.WaitDialog(Gb(u8"自动更新"));
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(WaitForPage(dialog, 0), 0);
    // The dialog manager shows a modal dialog once its queue first runs empty.
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(dialog) != FALSE; }));
    PumpMessagesFor(std::chrono::milliseconds(500));

    SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(dialog); }));
    PumpMessagesFor(std::chrono::milliseconds(300));
    EXPECT_TRUE(koravel.running());

    // A single left click does nothing; a double click shows the window.
    SendMessageA(dialog, kTrayNotify, IDR_TRAY_MENU, WM_LBUTTONUP);
    PumpMessagesFor(std::chrono::milliseconds(300));
    EXPECT_FALSE(IsWindowVisible(dialog));
    SendMessageA(dialog, kTrayNotify, IDR_TRAY_MENU, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(dialog) != FALSE; }));

    // A new task bar changes nothing the user sees.
    SendMessageA(dialog, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(IsWindowVisible(dialog));

    // Right click: the menu; its second item "隐藏" hides the window.
    PostMessageA(dialog, kTrayNotify, IDR_TRAY_MENU, WM_RBUTTONUP);
    HWND menu = WaitTrayMenu();
    ASSERT_NE(menu, nullptr);
    ChooseMenuItem(menu, 1);
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(dialog); }));

    PostMessageA(dialog, kTrayNotify, IDR_TRAY_MENU, WM_RBUTTONUP);
    menu = WaitTrayMenu();
    ASSERT_NE(menu, nullptr);
    ChooseMenuItem(menu, 0);
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(dialog) != FALSE; }));
    EXPECT_TRUE(koravel.running());

    EXPECT_TRUE(ClickOnPage(dialog, IDC_EXIT));
    EXPECT_TRUE(koravel.WaitExit());
}

TEST(AppWindowTest, NoUpdateInfoAllowsTheCloseBoxToEndTheProgram) {
    ClientFolder client;
    KoravelProcess koravel(client.path(), "ShowNoUpdateInfo");
    HWND dialog = koravel.WaitDialog(Gb(u8"自动更新"));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(WaitForPage(dialog, 3), 3);
    HWND page = VisiblePageWindow(dialog);
    EXPECT_EQ(WindowText(GetDlgItem(page, IDC_TEXT1)), Gb(u8"无可用更新，Quorvane将定期检查。"));

    PostMessageA(dialog, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    HWND about = koravel.WaitDialog(Gb(u8"关于 自动更新程序"));
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(WindowText(GetDlgItem(about, IDC_ABOUT_TEXT)), Gb(u8"自动更新程序 1.0.3.0 版"));
    PostMessageA(about, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(about); }));

    SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(koravel.WaitExit());
}

TEST(AppWindowTest, ProgressReportsMoveOnlyTheBarOfTheProgressPageShown) {
    // On the checking page the reports change no bar.
    {
        ClientFolder client;
        KoravelProcess koravel(client.path(), "DownloadAndUpdate");
        HWND dialog = koravel.WaitDialog(Gb(u8"自动更新"));
        ASSERT_NE(dialog, nullptr);
        SendMessageA(dialog, kUpdateNotify, 1 /* item count */, 9);
        SendMessageA(dialog, kUpdateNotify, 2 /* item done */, 4);
        SendMessageA(dialog, kUpdateNotify, 6 /* percent */, 50);
        for (int page : {4, 5}) {
            EXPECT_EQ(ProgressLimit(PageWindow(dialog, page)), 100) << page;
            EXPECT_EQ(ProgressPosition(PageWindow(dialog, page)), 0) << page;
        }
        EXPECT_EQ(VisiblePage(dialog), 0);
    }
    // On the install page (nothing to install) they drive its bar.
    ClientFolder client;
    KoravelProcess koravel(client.path(), "ForceUpdate");
    HWND dialog = koravel.WaitDialog(Gb(u8"自动更新"));
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(WaitForPage(dialog, 5), 5);
    HWND page = PageWindow(dialog, 5);
    SendMessageA(dialog, kUpdateNotify, 1 /* item count */, 9);
    SendMessageA(dialog, kUpdateNotify, 2 /* item done */, 4);
    EXPECT_EQ(ProgressLimit(page), 9);
    EXPECT_EQ(ProgressPosition(page), 5);
    EXPECT_EQ(ProgressLimit(PageWindow(dialog, 4)), 100);
}
