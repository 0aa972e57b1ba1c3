// Stands in for the client program Stock.exe in the demonstration.
//
// Started without arguments (as the user starts the client), it shows its
// main window "Quorvane", fetches Update.xml and WhatNews.txt from the update
// server named by [System] WebAddress of Stock.ini into Update\, and starts
// "Koravel.exe DownloadWithGUI". When the updater asks the window to close
// before it installs, the client ends.
//
// Started with "Updata" (as the updater restarts it after an installation),
// it shows its main window, loads TDVN.dll and shows the alerts of
// data\refer.xml; a click on an alert comes back as message 0x0709.
//
// Every step is appended to client-log.txt beside the program (GB2312 text),
// which the demonstration reads. The program ends by itself after a few
// minutes at the latest, so that it is never left behind.
#include <windows.h>

#include <string>
#include <vector>

#include "GbText.h"
#include "FolderCreation.h"
#include "GdiHandles.h"
#include "HttpDownload.h"
#include "LineLog.h"
#include "ProgramFolder.h"
#include "TdvnLibrary.h"
#include "UpdaterLauncher.h"

namespace {

const UINT WM_POPUPMSG_CLICKED = WM_USER + 777;
const DWORD kLifetimeMs = 240000;
const char kWindowClass[] = "QuorvaneDemoClient";

struct ClientState {
    std::string folder;
    LineLog log{std::string()};
    std::vector<std::string> statusLines;
};

// The client's state travels with its main window.
ClientState& StateOf(HWND window) {
    return *reinterpret_cast<ClientState*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

void Report(HWND window, const std::string& logLine, const std::string& statusLine) {
    ClientState& client = StateOf(window);
    client.log.Append(logLine);
    client.statusLines.push_back(statusLine);
    InvalidateRect(window, nullptr, TRUE);
}

void PaintStatus(HWND window) {
    PaintScope paint(window);
    HDC dc = paint.Dc();
    RECT area;
    GetClientRect(window, &area);
    FillRect(dc, &area, GetSysColorBrush(COLOR_WINDOW));
    SetBkMode(dc, TRANSPARENT);
    Selection font(dc, GetStockObject(DEFAULT_GUI_FONT));
    RECT line{12, 12, area.right - 12, 32};
    for (const std::string& text : StateOf(window).statusLines) {
        DrawTextA(dc, text.c_str(), -1, &line, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
        OffsetRect(&line, 0, 22);
    }
}

LRESULT CALLBACK ClientWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* creation = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    } else if (GetWindowLongPtrA(window, GWLP_USERDATA) == 0) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    switch (message) {
        case WM_PAINT:
            PaintStatus(window);
            return 0;
        case WM_POPUPMSG_CLICKED: {
            const char* text = reinterpret_cast<const char*>(lParam);
            std::string shown = text ? text : "";
            Report(window, "ALERT CLICK " + std::to_string(static_cast<int>(wParam)) + " " + shown,
                   Gb(u8"点击了提示 ") + std::to_string(static_cast<int>(wParam)) + ": " + shown);
            return 0;
        }
        case WM_CLOSE:
            StateOf(window).log.Append("CLOSE Quorvane");
            DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

HWND CreateMainWindow(HINSTANCE instance, ClientState& client) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = ClientWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassA(&windowClass);
    // The updater looks for the client's main window by this exact title.
    HWND window = CreateWindowExA(0, kWindowClass, "Quorvane", WS_OVERLAPPEDWINDOW, 640, 80, 600, 300, nullptr,
                                  nullptr, instance, &client);
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    return window;
}

std::string WebAddress(const std::string& folder) {
    char address[260] = {};
    GetPrivateProfileStringA("System", "WebAddress", "", address, sizeof address, (folder + "\\Stock.ini").c_str());
    return address;
}

// What the client does before it hands over to the updater.
void PrepareAndStartUpdater(HWND window) {
    const std::string folder = StateOf(window).folder;
    std::string host = WebAddress(folder);
    Report(window, "SERVER " + host, Gb(u8"更新服务器: ") + host);
    CreateFolders(folder + "\\Update");
    bool haveManifest = false;
    for (const char* name : {"Update.xml", "WhatNews.txt"}) {
        bool fetched = DownloadToFile("http://" + host + "/" + name, folder + "\\Update\\" + name);
        if (std::string(name) == "Update.xml") haveManifest = fetched;
        Report(window, std::string(fetched ? "FETCHED " : "FETCH FAILED ") + name,
               std::string(name) + (fetched ? Gb(u8" 已取到 Update\\") : Gb(u8" 取不到")));
    }
    if (!haveManifest) return;
    bool started = StartUpdater(folder, "DownloadWithGUI");
    Report(window, started ? "STARTED Koravel.exe DownloadWithGUI" : "START FAILED Koravel.exe",
           started ? Gb(u8"已启动 Koravel.exe DownloadWithGUI") : Gb(u8"Koravel.exe 启动失败"));
}

void RunMessageLoop(const ClientState& client) {
    SetTimer(nullptr, 0, kLifetimeMs, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER && message.hwnd == nullptr) {
            client.log.Append("TIME LIMIT");
            break;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int) {
    ClientState client;
    client.folder = ProgramFolder().value_or(".");
    client.log = LineLog(client.folder + "\\client-log.txt");
    client.log.Append(std::string("START ") + GetCommandLineA());

    const bool restartedByUpdater = lstrcmpiA(arguments, "Updata") == 0;
    HWND window = CreateMainWindow(instance, client);
    if (!restartedByUpdater) {
        client.statusLines.push_back(Gb(u8"Quorvane 客户端（演示）: 检查更新"));
        PrepareAndStartUpdater(window);
        RunMessageLoop(client);
        return 0;
    }

    client.statusLines.push_back(Gb(u8"Quorvane 客户端（演示）: 更新后由 Koravel 重新启动 (Updata)"));
    TdvnLibrary alerts;
    if (!alerts.Loaded()) {
        Report(window, "TDVN LOAD FAILED", Gb(u8"TDVN.dll 载入失败"));
    } else {
        alerts.Init(window);
        alerts.PopupMsgWnd();
        Report(window, "ALERTS SHOWN", Gb(u8"TDVN.dll: 已显示 data\\refer.xml 的提示"));
    }
    RunMessageLoop(client);
    return 0;
}
