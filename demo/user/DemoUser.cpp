// Plays the user of a client installation through the road of one update:
// starts the client, which hands over to the updater; presses "立即更新",
// shows the hidden download from the notification area once, presses
// "立即安装" and "完成"; then looks at the restarted client's alert and clicks
// it. A picture of the screen is taken at every step.
//   demo_user.exe <client folder> <pictures folder>
// Prints one line per step (see RoadReport.h); exits with 1 when a step did
// not happen, 2 on wrong arguments.
#include <windows.h>

#include <cstdio>
#include <string>

#include "DesktopWindows.h"
#include "GbText.h"
#include "KernelHandles.h"
#include "MouseInput.h"
#include "ResourceIds.h"
#include "RoadReport.h"
#include "ScreenCapture.h"
#include "Waiting.h"
#include "WholeFile.h"

namespace {

class ClientFolder {
public:
    explicit ClientFolder(std::string path) : path_(std::move(path)) {}

    std::string Log() const {
        std::string text;
        ReadWholeFile(path_ + "\\client-log.txt", &text);  // none yet: empty
        return text;
    }
    bool LogHas(const std::string& text) const { return Log().find(text) != std::string::npos; }
    int LogCount(const std::string& text) const {
        std::string log = Log();
        int count = 0;
        for (size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1)) ++count;
        return count;
    }

    std::string UpdateFlag() const {
        char value[32] = {};
        GetPrivateProfileStringA("System", "Update", "(none)", value, sizeof value, (path_ + "\\Stock.ini").c_str());
        return value;
    }

    // The user starts the client program, as from its shortcut.
    bool StartClient() const {
        std::string commandLine = "\"" + path_ + "\\Stock.exe\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, path_.c_str(), &startup,
                            &process))
            return false;
        ProcessHandles{process};  // the client runs on by itself
        return true;
    }

private:
    std::string path_;
};

bool PressButton(HWND dialog, int controlId) {
    HWND button = PageControl(dialog, controlId);
    if (!button || !IsWindowEnabled(button)) return false;
    ClickAt(CentreOf(button));
    return true;
}

std::string PageText(HWND dialog) {
    return std::string("page now: ") + PageName(VisiblePage(dialog)) +
           (dialog && IsWindowVisible(dialog) ? ", window shown" : ", window hidden");
}

bool RunRoad(const ClientFolder& client, RoadReport& report) {
    // 1. The client starts and hands over to the updater.
    if (!report.Check(client.StartClient(), "the user starts the client Stock.exe")) return false;
    if (!report.Check(WaitFor([&] { return client.LogHas("STARTED Koravel.exe DownloadWithGUI"); }, 30000),
                      "the client fetched Update.xml and WhatNews.txt into Update\\ and started "
                      "\"Koravel.exe DownloadWithGUI\""))
        return false;

    // 2. The background check finds the newer files.
    HWND dialog = nullptr;
    WaitFor([&] { return (dialog = FindUpdaterDialog()) != nullptr; }, 20000);
    bool found = dialog && WaitFor([&] {
                     return VisiblePage(dialog) == kUpdateFoundPage && IsWindowVisible(dialog);
                 }, 30000);
    if (!report.Check(found, "the check shows the page \"update found\" (" + PageText(dialog) + ")")) return false;
    Settle();
    report.Picture("01-update-found", AroundWindow(dialog));

    // 3. "立即更新": the download runs hidden, in the notification area.
    bool pressed = PressButton(dialog, IDC_START_UPDATE);
    bool hidden = pressed && WaitFor([&] {
                      return VisiblePage(dialog) == kDownloadPage && !IsWindowVisible(dialog);
                  }, 10000);
    if (!report.Check(hidden, "\"update now\" pressed: the window goes to the notification area and downloads (" +
                                  PageText(dialog) + ")"))
        return false;
    Settle(300);
    report.Picture("02-hidden-download", WholeScreen());

    // 4. A double click on the icon shows the download page once.
    POINT icon{};
    bool haveIcon = NotificationIconPoint(&icon);
    if (haveIcon) DoubleClickAt(icon);
    bool shown = haveIcon && WaitFor([&] { return IsWindowVisible(dialog) != FALSE; }, 8000);
    if (!report.Check(shown, "a double click on the notification-area icon shows the window (" + PageText(dialog) +
                                 ")"))
        return false;
    WaitFor([&] { return ProgressPosition(dialog) > 0 || VisiblePage(dialog) != kDownloadPage; }, 8000);
    Settle(300);
    if (VisiblePage(dialog) == kDownloadPage) {
        // The notes box holds WhatNews.txt as it is; its first line names the release.
        bool notesShown = ControlText(PageControl(dialog, IDC_NOTES)).find(Gb(u8"Quorvane 更新说明")) == 0;
        report.Check(notesShown, std::string("the download page shows ") +
                                     (notesShown ? "the release notes" : "no release notes") +
                                     " and the progress " + std::to_string(ProgressPosition(dialog)) + " of " +
                                     std::to_string(ProgressRange(dialog)) + " files");
        report.Picture("03-download-page", AroundWindow(dialog));
    } else {
        report.Check(false, "the download page was gone before it could be looked at (" + PageText(dialog) + ")");
    }

    // 5. The download ends on "更新已可安装"; the client is told by Stock.ini.
    bool ready = WaitFor([&] { return VisiblePage(dialog) == kReadyToInstallPage && IsWindowVisible(dialog); }, 90000);
    if (!report.Check(ready, "the download ends on the page \"ready to install\" (" + PageText(dialog) + ")"))
        return false;
    report.Check(client.UpdateFlag() == "TRUE", "Stock.ini says Update=" + client.UpdateFlag());
    Settle();
    report.Picture("04-ready-to-install", AroundWindow(dialog));

    // 6. "立即安装": the client's window is asked to close, the files are put in place.
    pressed = PressButton(dialog, IDC_INSTALL_NOW);
    bool installed = pressed && WaitFor([&] {
                         return VisiblePage(dialog) == kInstallPage &&
                                WindowText(PageControl(dialog, IDC_PROGRESS_CAPTION)) == Gb(u8"更新完成") &&
                                IsWindowEnabled(PageControl(dialog, IDC_FINISH));
                     }, 30000);
    if (!report.Check(installed, "\"install now\" pressed: the installation ends with \"update complete\" (" +
                                     PageText(dialog) + ")"))
        return false;
    report.Check(client.LogHas("CLOSE Quorvane") && !FindClientWindow(),
                 "the client's window \"Quorvane\" was asked to close, and the client ended");
    report.Check(client.UpdateFlag() == "FALSE", "Stock.ini says Update=" + client.UpdateFlag());
    Settle();
    report.Picture("05-installed", AroundWindow(dialog));

    // 7. "完成": the updater ends and starts the client with "Updata".
    pressed = PressButton(dialog, IDC_FINISH);
    bool ended = pressed && WaitFor([] { return FindUpdaterDialog() == nullptr; }, 15000);
    if (!report.Check(ended, "\"finish\" pressed: the updater ends")) return false;
    bool restarted = WaitFor([&] { return client.LogHas("Updata\r\n"); }, 15000);
    if (!report.Check(restarted, "the updater started the client again with \"Updata\"")) return false;

    // 8. The restarted client shows its alerts through TDVN.dll.
    HWND alert = nullptr;
    bool alertShown = WaitFor([&] { return client.LogHas("ALERTS SHOWN") && (alert = FindShownAlert()) != nullptr; },
                              20000);
    if (!report.Check(alertShown, "the restarted client loaded TDVN.dll and an alert rose at the bottom-right corner"))
        return false;
    Settle(800);
    RECT screen = WholeScreen();
    report.Picture("06-alert", RECT{screen.right - 560, screen.bottom - 330, screen.right, screen.bottom});

    // 9. A click on the alert's message is reported to the client's window.
    ClickAt(CentreOf(alert));
    bool clicked = WaitFor([&] { return client.LogHas("ALERT CLICK "); }, 8000);
    report.Check(clicked, "a click on the alert's message reached the client's window as message 0x0709");
    Settle();
    report.Picture("07-client-restarted", WholeScreen());

    // 10. The user closes the client.
    HWND clientWindow = FindClientWindow();
    if (clientWindow) PostMessageA(clientWindow, WM_CLOSE, 0, 0);
    report.Check(WaitFor([&] { return client.LogCount("CLOSE Quorvane") >= 2; }, 10000), "the user closes the client");
    return !report.failed();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: demo_user.exe <client folder> <pictures folder>\n");
        return 2;
    }
    ClientFolder client(argv[1]);
    RoadReport report(argv[2]);
    bool completed = RunRoad(client, report);
    return completed && !report.failed() ? 0 : 1;
}
