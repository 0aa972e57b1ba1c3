// The engine's reports still queued when the dialog's window goes: they are
// removed, and the heap texts of NOTIFY_TEXT and NOTIFY_SERVER are freed.
// This program's operator delete[] tells which texts were freed.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "run/EngineTexts.h"
#include "run/Notify.h"
#include "flows/NotifyTexts.h"

namespace {

// The texts under watch; an entry is cleared when its text is freed.
std::atomic<void*> g_watched[2];

void NoteFreed(void* memory) {
    for (std::atomic<void*>& watched : g_watched) {
        void* expected = memory;
        if (memory != nullptr) watched.compare_exchange_strong(expected, nullptr);
    }
}

}  // namespace

void operator delete[](void* memory) noexcept {
    NoteFreed(memory);
    std::free(memory);
}

void operator delete[](void* memory, std::size_t) noexcept {
    NoteFreed(memory);
    std::free(memory);
}

namespace {

TEST(NotifyTextsTest, QueuedReportsAreRemovedWithTheirTexts) {
    HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, window);
    HWND other = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, other);

    char* text = NewNotifyText("item 1 a.dll done");
    char* server = NewNotifyText("127.0.0.1");
    g_watched[0] = text;
    g_watched[1] = server;
    ASSERT_TRUE(PostMessageA(window, WM_UPDATE_NOTIFY, NOTIFY_TEXT, reinterpret_cast<LPARAM>(text)));
    ASSERT_TRUE(PostMessageA(window, WM_UPDATE_NOTIFY, NOTIFY_PROGRESS, 40));
    ASSERT_TRUE(PostMessageA(window, WM_UPDATE_NOTIFY, NOTIFY_SERVER, reinterpret_cast<LPARAM>(server)));
    ASSERT_TRUE(PostMessageA(window, WM_UPDATE_NOTIFY, NOTIFY_TEXT, 0));
    ASSERT_TRUE(PostMessageA(window, WM_USER, 1, 2));       // not a report: stays
    ASSERT_TRUE(PostMessageA(other, WM_UPDATE_NOTIFY, NOTIFY_PROGRESS, 1));  // another window's: stays

    EXPECT_EQ(4, DiscardQueuedNotifications(window));
    EXPECT_EQ(nullptr, g_watched[0].load());
    EXPECT_EQ(nullptr, g_watched[1].load());

    MSG message;
    EXPECT_FALSE(PeekMessageA(&message, window, WM_UPDATE_NOTIFY, WM_UPDATE_NOTIFY, PM_REMOVE));
    EXPECT_TRUE(PeekMessageA(&message, window, WM_USER, WM_USER, PM_REMOVE));
    EXPECT_TRUE(PeekMessageA(&message, other, WM_UPDATE_NOTIFY, WM_UPDATE_NOTIFY, PM_REMOVE));
    EXPECT_EQ(0, DiscardQueuedNotifications(window));
    DestroyWindow(other);
    DestroyWindow(window);
}

TEST(NotifyTextsTest, OnlyTheTextReportsCarryATextToFree) {
    char* text = NewNotifyText("x");
    g_watched[0] = text;
    for (WPARAM code : {NOTIFY_NEWS_READY, NOTIFY_ITEM_COUNT, NOTIFY_ITEM_DONE, NOTIFY_PROGRESS, NOTIFY_FINISHED}) {
        ReleaseNotifyText(code, 5);  // a count, not a text
    }
    EXPECT_EQ(text, g_watched[0].load());
    ReleaseNotifyText(NOTIFY_SERVER, reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(nullptr, g_watched[0].load());
}

}  // namespace
