// Window hooks: chain order, removal in either order, the end of a window,
// and the current-message record that default processing relies on.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "window/CSubclassWnd.h"
#include "window/CurrentMessage.h"

namespace {

const UINT kProbe = WM_USER + 1;
const UINT kNested = WM_USER + 2;

std::vector<std::string> g_log;
bool g_hooksGoneAtNcDestroy = false;

LRESULT CALLBACK OriginalProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kProbe) {
        g_log.push_back("original");
        return 7;
    }
    if (msg == WM_NCDESTROY) g_hooksGoneAtNcDestroy = FindHook(hwnd) == nullptr;
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

class LoggingHook : public CSubclassWnd {
public:
    explicit LoggingHook(const char* name) : name_(name) {}
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == kProbe) g_log.push_back(name_);
        return CSubclassWnd::WindowProc(msg, wParam, lParam);
    }

private:
    std::string name_;
};

class HookChainTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_log.clear();
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = OriginalProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "HookChainTestWindow";
        RegisterClassA(&windowClass);
        window_ = CreateWindowA("HookChainTestWindow", "hooked", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override {
        if (IsWindow(window_)) DestroyWindow(window_);
    }
    WNDPROC CurrentProc() const { return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window_, GWLP_WNDPROC)); }

    HWND window_ = nullptr;
};

}  // namespace

TEST_F(HookChainTest, NewestHookSeesMessagesFirst) {
    LoggingHook older("older"), newer("newer");
    older.HookWnd(window_);
    newer.HookWnd(window_);
    EXPECT_EQ(SendMessageA(window_, kProbe, 0, 0), 7);
    EXPECT_EQ(g_log, (std::vector<std::string>{"newer", "older", "original"}));
    EXPECT_EQ(FindHook(window_), &newer);
}

TEST_F(HookChainTest, RemovingHooksInEitherOrderRestoresTheOriginalProcedureOnlyAtTheLast) {
    for (bool olderFirst : {true, false}) {
        SCOPED_TRACE(olderFirst ? "older removed first" : "newer removed first");
        LoggingHook older("older"), newer("newer");
        older.HookWnd(window_);
        newer.HookWnd(window_);
        LoggingHook& first = olderFirst ? older : newer;
        LoggingHook& last = olderFirst ? newer : older;

        first.Unhook();
        EXPECT_NE(CurrentProc(), &OriginalProc);
        g_log.clear();
        SendMessageA(window_, kProbe, 0, 0);
        EXPECT_EQ(g_log, (std::vector<std::string>{olderFirst ? "newer" : "older", "original"}));

        last.Unhook();
        EXPECT_EQ(CurrentProc(), &OriginalProc);
        EXPECT_EQ(FindHook(window_), nullptr);
        EXPECT_FALSE(first.IsHooked());
        EXPECT_FALSE(last.IsHooked());
    }
}

TEST_F(HookChainTest, HookMovedToAnotherWindowLeavesTheFirstOne) {
    HWND other = CreateWindowA("HookChainTestWindow", "other", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    LoggingHook hook("hook");
    hook.HookWnd(window_);
    hook.HookWnd(other);
    EXPECT_EQ(CurrentProc(), &OriginalProc);
    EXPECT_EQ(FindHook(other), &hook);
    DestroyWindow(other);
    EXPECT_FALSE(hook.IsHooked());
}

TEST_F(HookChainTest, DestroyedWindowLosesAllHooksBeforeItsProcedureSeesNcDestroy) {
    LoggingHook older("older"), newer("newer");
    older.HookWnd(window_);
    newer.HookWnd(window_);
    g_hooksGoneAtNcDestroy = false;
    DestroyWindow(window_);
    EXPECT_TRUE(g_hooksGoneAtNcDestroy);
    EXPECT_FALSE(older.IsHooked());
    EXPECT_FALSE(newer.IsHooked());
}

namespace {

// Records what the current message was while it handled the probe, after a
// nested message, and lets default processing pass the probe on.
class CurrentMessageHook : public CSubclassWnd {
public:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == kProbe) {
            SendMessageA(hookedWindow(), kNested, 0, 0);
            seen = CurrentMessage();
            return Default();
        }
        return CSubclassWnd::WindowProc(msg, wParam, lParam);
    }
    CurrentMessageRecord seen;
};

}  // namespace

TEST_F(HookChainTest, DefaultProcessingInsideAHookRefersToTheHookedMessage) {
    CurrentMessageHook hook;
    hook.HookWnd(window_);
    EXPECT_EQ(SendMessageA(window_, kProbe, 11, 22), 7);
    EXPECT_EQ(hook.seen.hwnd, window_);
    EXPECT_EQ(hook.seen.message, kProbe);
    EXPECT_EQ(hook.seen.wParam, 11u);
    EXPECT_EQ(hook.seen.lParam, 22);
    EXPECT_EQ(g_log, std::vector<std::string>{"original"});
    EXPECT_EQ(CurrentMessage().message, 0u);  // restored after the message
}
