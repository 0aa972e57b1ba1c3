#include "TestSupport.h"

#include <thread>

std::string UpdateFlagIn(const std::string& clientFolder) {
    char value[16] = {};
    GetPrivateProfileStringA("System", "Update", "(none)", value, sizeof value, (clientFolder + "\\Stock.ini").c_str());
    return value;
}

void CopyInto(const std::string& source, const std::string& target) { CopyFileA(source.c_str(), target.c_str(), FALSE); }

std::string HostPathToWindows(const char* hostPath) {
    std::string path = hostPath;
    if (!path.empty() && path[0] == '/') {
        path = "Z:" + path;
        for (char& c : path)
            if (c == '/') c = '\\';
    }
    return path;
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (condition()) return true;
        PumpMessagesFor(std::chrono::milliseconds(50));
    }
    return condition();
}

void PumpMessagesFor(std::chrono::milliseconds duration) {
    auto end = std::chrono::steady_clock::now() + duration;
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    } while (std::chrono::steady_clock::now() < end);
}
