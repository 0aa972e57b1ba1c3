// The tray icon: what it asks of the notification area, its return after a
// new task bar, and the menu and double click on the icon.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <cstring>
#include <vector>

#include "tray/CTrayIcon.h"
#include "ResourceIds.h"
#include "TestSupport.h"

namespace {

const UINT kCallback = WM_USER + 106;

struct ShellCall {
    DWORD operation;
    NotifyIconRecord record;
};

class RecordingNotifyArea : public NotifyArea {
public:
    BOOL Notify(DWORD operation, const NotifyIconRecord& record) override {
        calls.push_back({operation, record});
        return answer;
    }
    std::vector<ShellCall> calls;
    BOOL answer = TRUE;
};

std::vector<WPARAM> g_commands;

LRESULT CALLBACK NotifyWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COMMAND) {
        g_commands.push_back(wParam);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

class TrayIconTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_commands.clear();
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = NotifyWindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "TrayIconTestWindow";
        RegisterClassA(&windowClass);
        window_ = CreateWindowA("TrayIconTestWindow", "tray owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(window_, nullptr);
        icon_ = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
        ASSERT_NE(icon_, nullptr);
    }
    void TearDown() override { DestroyWindow(window_); }

    HWND window_ = nullptr;
    HICON icon_ = nullptr;
    RecordingNotifyArea shell_;
};

}  // namespace

TEST_F(TrayIconTest, RemovingWhenNothingIsShownSucceedsWithoutTheShell) {
    CTrayIcon tray(IDR_TRAY_MENU, shell_);
    EXPECT_TRUE(tray.SetIconHandle(nullptr, nullptr));
    EXPECT_TRUE(tray.SetIconId(0));
    EXPECT_TRUE(shell_.calls.empty());
}

TEST_F(TrayIconTest, AddModifyAndDeleteCarryTheRightFlags) {
    {
        CTrayIcon tray(IDR_TRAY_MENU, shell_);
        tray.SetNotifyWnd(window_, kCallback);
        // The program's resources hold no string 128: no tip.
        EXPECT_TRUE(tray.SetIconId(IDR_MAINFRAME));
        EXPECT_TRUE(tray.SetIconHandle(icon_, "Koravel"));
        EXPECT_TRUE(tray.SetIconId(0));
        EXPECT_TRUE(tray.SetIconHandle(icon_, nullptr));
    }  // the destructor removes the icon
    const struct {
        DWORD operation;
        UINT flags;
        const char* tip;
    } expected[] = {
        {NIM_ADD, NIF_ICON | NIF_MESSAGE, ""},
        {NIM_MODIFY, NIF_ICON | NIF_TIP | NIF_MESSAGE, "Koravel"},
        {NIM_DELETE, NIF_TIP | NIF_MESSAGE, "Koravel"},
        {NIM_ADD, NIF_ICON | NIF_TIP | NIF_MESSAGE, "Koravel"},
        {NIM_DELETE, NIF_TIP | NIF_MESSAGE, "Koravel"},
    };
    ASSERT_EQ(shell_.calls.size(), sizeof expected / sizeof expected[0]);
    for (size_t i = 0; i < shell_.calls.size(); ++i) {
        SCOPED_TRACE(i);
        const NotifyIconRecord& record = shell_.calls[i].record;
        EXPECT_EQ(shell_.calls[i].operation, expected[i].operation);
        EXPECT_EQ(record.uFlags, expected[i].flags);
        EXPECT_STREQ(record.szTip, expected[i].tip);
#ifdef _WIN64
        EXPECT_EQ(record.cbSize, 104u);
#else
        EXPECT_EQ(record.cbSize, 88u);
#endif
        EXPECT_EQ(record.hWnd, window_);
        EXPECT_EQ(record.uID, static_cast<UINT>(IDR_TRAY_MENU));
        EXPECT_EQ(record.uCallbackMessage, kCallback);
    }
}

TEST_F(TrayIconTest, IconWithoutWindowOrCallbackHasNoMessageFlag) {
    CTrayIcon tray(IDR_TRAY_MENU, shell_);
    tray.SetIconHandle(icon_, nullptr);
    ASSERT_EQ(shell_.calls.size(), 1u);
    EXPECT_EQ(shell_.calls[0].record.uFlags, static_cast<UINT>(NIF_ICON));
}

TEST_F(TrayIconTest, FailedShellCallForgetsTheIcon) {
    CTrayIcon tray(IDR_TRAY_MENU, shell_);
    shell_.answer = FALSE;
    EXPECT_FALSE(tray.SetIconHandle(icon_, nullptr));
    shell_.answer = TRUE;
    EXPECT_TRUE(tray.SetIconHandle(icon_, nullptr));
    ASSERT_EQ(shell_.calls.size(), 2u);
    EXPECT_EQ(shell_.calls[1].operation, static_cast<DWORD>(NIM_ADD));
}

TEST_F(TrayIconTest, NewTaskbarBringsTheIconBackAndTheWindowStillGetsTheBroadcast) {
    CTrayIcon tray(IDR_TRAY_MENU, shell_);
    tray.SetNotifyWnd(window_, kCallback);
    tray.SetIconHandle(icon_, "tip");
    shell_.calls.clear();

    SendMessageA(window_, TaskbarCreatedMessage(), 0, 0);
    ASSERT_EQ(shell_.calls.size(), 1u);
    EXPECT_EQ(shell_.calls[0].operation, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(shell_.calls[0].record.hIcon, icon_);
    EXPECT_STREQ(shell_.calls[0].record.szTip, "tip");
    EXPECT_EQ(shell_.calls[0].record.uCallbackMessage, kCallback);
    EXPECT_EQ(shell_.calls[0].record.uFlags, static_cast<UINT>(NIF_ICON | NIF_TIP | NIF_MESSAGE));
}

TEST_F(TrayIconTest, DoubleClickShowsAndOtherEventsDoNothing) {
    CTrayIcon tray(IDR_TRAY_MENU, shell_);
    tray.SetNotifyWnd(window_, kCallback);
    SendMessageA(window_, kCallback, IDR_TRAY_MENU, WM_LBUTTONUP);
    SendMessageA(window_, kCallback, IDR_TRAY_MENU, WM_LBUTTONDOWN);
    SendMessageA(window_, kCallback, IDR_TRAY_MENU + 1, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(g_commands.empty());
    SendMessageA(window_, kCallback, IDR_TRAY_MENU, WM_LBUTTONDBLCLK);
    EXPECT_EQ(g_commands, std::vector<WPARAM>{ID_TRAY_SHOW});
}

namespace {

// Runs inside the menu's own loop: notes the open menu and chooses "隐藏".
struct MenuInspection {
    bool found = false;
    UINT defaultItem = 0;
    std::string firstText;
} g_menu;

void CALLBACK InspectOpenMenu(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND menuWindow = FindWindowA("#32768", nullptr);
    if (!menuWindow || !IsWindowVisible(menuWindow)) return;
    KillTimer(nullptr, timer);
    g_menu.found = true;
    HMENU menu = reinterpret_cast<HMENU>(SendMessageA(menuWindow, 0x01E1 /* MN_GETHMENU */, 0, 0));
    g_menu.defaultItem = GetMenuDefaultItem(menu, FALSE, 0);
    char text[64] = {};
    GetMenuStringA(menu, 0, text, sizeof text, MF_BYPOSITION);
    g_menu.firstText = text;
    PostMessageA(menuWindow, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(menuWindow, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(menuWindow, WM_KEYDOWN, VK_RETURN, 0);
}

}  // namespace

TEST_F(TrayIconTest, RightClickOpensTheMenuWithShowAsDefault) {
    ShowWindow(window_, SW_SHOW);
    CTrayIcon tray(IDR_TRAY_MENU, shell_);
    tray.SetNotifyWnd(window_, kCallback);
    g_menu = MenuInspection{};
    UINT_PTR timer = SetTimer(nullptr, 0, 100, InspectOpenMenu);
    SendMessageA(window_, kCallback, IDR_TRAY_MENU, WM_RBUTTONUP);
    KillTimer(nullptr, timer);
    PumpMessagesFor(std::chrono::milliseconds(200));

    EXPECT_TRUE(g_menu.found);
    EXPECT_EQ(g_menu.defaultItem, static_cast<UINT>(ID_TRAY_SHOW));
    EXPECT_EQ(g_menu.firstText, Gb(u8"显示"));
    EXPECT_EQ(g_commands, std::vector<WPARAM>{ID_TRAY_HIDE});
}
