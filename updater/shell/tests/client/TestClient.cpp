// Plays the client program Stock.exe for the updater's tests. Every start
// appends "START <command line>" to client-log.txt beside the program. With
// --windows it owns the client's top-level windows, appends "CLOSE <title>"
// for every WM_CLOSE one receives, and ends after a minute at the latest, so
// that no test leaves it behind.
//   --windows                 the windows "Quorvane", "Mirenda行情终端",
//                             a TfrmMain window and "Quorvane Pro"
//   --info-title=<text>       title of the TfrmMain window (GB2312)
//   --stubborn=<n>            "Quorvane" ignores its first n WM_CLOSE
#include <windows.h>

#include "ProgramFolder.h"
#include "StdioFile.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

std::string g_logPath;
int g_stubbornCloses = 0;

void AppendLog(const std::string& line) {
    StdioFile log(fopen(g_logPath.c_str(), "ab"));
    if (log) fprintf(log.Get(), "%s\r\n", line.c_str());
}

std::string TitleOf(HWND window) {
    char title[256] = {};
    GetWindowTextA(window, title, sizeof title);
    return title;
}

LRESULT CALLBACK ClientWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CLOSE: {
            std::string title = TitleOf(window);
            AppendLog("CLOSE " + title);
            if (title == "Quorvane" && g_stubbornCloses > 0) {
                --g_stubbornCloses;
                return 0;
            }
            DestroyWindow(window);
            return 0;
        }
        default:
            return DefWindowProcA(window, msg, wParam, lParam);
    }
}

void CreateClientWindow(const char* className, const char* title) {
    CreateWindowExA(0, className, title, WS_OVERLAPPEDWINDOW, 10, 10, 200, 80, nullptr, nullptr,
                    GetModuleHandleA(nullptr), nullptr);
}

std::string OptionValue(const char* commandLine, const char* name) {
    const char* found = strstr(commandLine, name);
    if (!found) return std::string();
    found += strlen(name);
    const char* end = strstr(found, " --");
    return end ? std::string(found, end) : std::string(found);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    g_logPath = JoinPath(ProgramFolder().value(), "client-log.txt");

    const char* commandLine = GetCommandLineA();
    AppendLog(std::string("START ") + commandLine);
    if (!strstr(commandLine, "--windows")) return 0;

    std::string stubborn = OptionValue(commandLine, "--stubborn=");
    g_stubbornCloses = stubborn.empty() ? 0 : atoi(stubborn.c_str());
    std::string infoTitle = OptionValue(commandLine, "--info-title=");

    WNDCLASSA plain{};
    plain.lpfnWndProc = ClientWindowProc;
    plain.hInstance = instance;
    plain.lpszClassName = "QuorvaneClientWindow";
    RegisterClassA(&plain);
    WNDCLASSA infoCentre = plain;
    infoCentre.lpszClassName = "TfrmMain";
    RegisterClassA(&infoCentre);

    CreateClientWindow("QuorvaneClientWindow", "Quorvane");
    CreateClientWindow("QuorvaneClientWindow", "Mirenda\xD0\xD0\xC7\xE9\xD6\xD5\xB6\xCB");  // Mirenda行情终端
    CreateClientWindow("TfrmMain", infoTitle.c_str());
    // A title that merely contains the client's title; it must stay open.
    CreateClientWindow("QuorvaneClientWindow", "Quorvane Pro");
    AppendLog("READY");

    SetTimer(nullptr, 0, 60000, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && msg.hwnd == nullptr) break;
        DispatchMessageA(&msg);
    }
    return 0;
}
