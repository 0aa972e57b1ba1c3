#include "install/ClientLauncher.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

TEST(RunProgram, StartsTheProcessAndHandsOverItsHandle) {
    KernelHandle process = RunProgram(nullptr, "cmd.exe", "/c exit 7");
    ASSERT_TRUE(process.IsValid());
    ASSERT_EQ(WaitForSingleObject(process.Get(), 30000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeProcess(process.Get(), &code);
    EXPECT_EQ(code, 7u);
}

// Closes the message boxes this process shows, as a user pressing OK would.
BOOL CALLBACK CloseOwnMessageBox(HWND window, LPARAM) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (owner == GetCurrentProcessId() && lstrcmpA(className, "#32770") == 0 && IsWindowVisible(window))
        PostMessageA(window, WM_CLOSE, 0, 0);
    return TRUE;
}

TEST(RunProgram, AMissingFileGivesNoProcess) {
    // With a display, the shell tells the user in a box of its own; the call
    // returns once it is closed.
    std::atomic<bool> returned{false};
    bool started = true;
    std::thread caller([&] {
        started = RunProgram(nullptr, "no-such-program.exe", "").IsValid();
        returned = true;
    });
    for (int waited = 0; !returned && waited < 30000; waited += 100) {
        EnumWindows(CloseOwnMessageBox, 0);
        Sleep(100);
    }
    caller.join();
    EXPECT_FALSE(started);
}

}  // namespace
