// The client may free TDVN.dll at any moment, from any thread, or close its
// window first; each time the alert window must be torn down on its own
// thread, never inside the unload (under the loader lock), and the process
// must neither hang nor crash. Each scenario runs in a client process of its
// own (popup_unload_host), so that a hang or a crash fails only it.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "KernelHandles.h"
#include "PopupHost.h"

namespace {

const DWORD kHostTimeoutMs = 60000;

// The host's exit code, or -1 when it did not end in time (it is then ended).
long RunHost(const std::string& scenario) {
    std::string commandLine = "popup_unload_host.exe " + scenario;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION started = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &started)) {
        ADD_FAILURE() << "popup_unload_host.exe did not start: error " << GetLastError();
        return -2;
    }
    ProcessHandles host(started);
    if (WaitForSingleObject(host.process.Get(), kHostTimeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(host.process.Get(), 2);
        return -1;
    }
    DWORD exitCode = 0;
    GetExitCodeProcess(host.process.Get(), &exitCode);
    return static_cast<long>(exitCode);
}

TEST(UnloadTest, TheWindowGoesWithTheClientsWindowAndNeverInsideTheUnload) {
    const struct {
        const char* scenario;
        const char* what;
    } cases[] = {
        {"freed-elsewhere", "freed on another thread while an alert is up"},
        {"freed-here", "freed on the window's thread while an alert is up"},
        {"client-closed", "the client's window closed while an alert is up, then the library freed"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const long exitCode = RunHost(c.scenario);
        EXPECT_NE(-1, exitCode) << "the client hung";
        EXPECT_EQ(0, exitCode) << "see the host's message above";
    }
}

}  // namespace
