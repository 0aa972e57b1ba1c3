#include "DesktopWindows.h"

#include <commctrl.h>

#include "GbText.h"
#include "ResourceIds.h"

namespace {

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

struct DialogSearch {
    std::string caption;
    HWND found = nullptr;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<DialogSearch*>(parameter);
    if (ClassOf(window) != "#32770" || WindowText(window) != search->caption) return TRUE;
    search->found = window;
    return FALSE;
}

// The page the dialog shows, also while the dialog itself is hidden: the
// page's own visibility style, not whether it can be seen on screen.
HWND VisiblePageWindow(HWND dialog) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        bool shownByDialog = (GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE) != 0;
        if (ClassOf(child) == "#32770" && shownByDialog) return child;
    }
    return nullptr;
}

}  // namespace

std::string WindowText(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string ControlText(HWND control) {
    if (!control) return std::string();
    LRESULT length = SendMessageA(control, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0) return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    LRESULT copied = SendMessageA(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

HWND FindUpdaterDialog() {
    DialogSearch search{Gb(u8"自动更新")};
    EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

WizardPage VisiblePage(HWND dialog) {
    HWND page = dialog ? VisiblePageWindow(dialog) : nullptr;
    if (!page) return kNoPage;
    if (GetDlgItem(page, IDC_FINISH)) return kInstallPage;
    if (GetDlgItem(page, IDC_NOTES)) return kDownloadPage;
    const std::string heading = WindowText(GetDlgItem(page, IDC_HEADING));
    if (heading == Gb(u8"检查更新")) return kCheckingPage;
    if (heading == Gb(u8"检测到更新")) {
        return WindowText(GetDlgItem(page, IDC_EXIT)) == Gb(u8"以后提醒") ? kUpdateFoundPage : kMandatoryUpdatePage;
    }
    if (heading == Gb(u8"没有更新")) return kNoUpdatePage;
    if (heading == Gb(u8"更新已可安装")) return kReadyToInstallPage;
    if (heading == Gb(u8"更新失败")) return kFailedPage;
    return kNoPage;
}

const char* PageName(WizardPage page) {
    switch (page) {
        case kCheckingPage: return "checking";
        case kUpdateFoundPage: return "update found";
        case kMandatoryUpdatePage: return "mandatory update";
        case kNoUpdatePage: return "no update";
        case kDownloadPage: return "download";
        case kInstallPage: return "install";
        case kReadyToInstallPage: return "ready to install";
        case kFailedPage: return "failed";
        default: return "none";
    }
}

HWND PageControl(HWND dialog, int controlId) {
    HWND page = dialog ? VisiblePageWindow(dialog) : nullptr;
    return page ? GetDlgItem(page, controlId) : nullptr;
}

int ProgressPosition(HWND dialog) {
    HWND bar = PageControl(dialog, IDC_PROGRESS);
    return bar ? static_cast<int>(SendMessageA(bar, PBM_GETPOS, 0, 0)) : -1;
}

int ProgressRange(HWND dialog) {
    HWND bar = PageControl(dialog, IDC_PROGRESS);
    return bar ? static_cast<int>(SendMessageA(bar, PBM_GETRANGE, FALSE, 0)) : -1;
}

bool NotificationIconPoint(POINT* point) {
    HWND taskBar = FindWindowA("Shell_TrayWnd", nullptr);
    if (!taskBar || !IsWindowVisible(taskBar)) return false;
    RECT area{};
    GetWindowRect(taskBar, &area);
    // The icons stand at the right end of the task bar, the newest right-most,
    // each in a slot a little wider than a small icon.
    const int slot = GetSystemMetrics(SM_CXSMICON) + 4;
    point->x = area.right - slot / 2 - 1;
    point->y = (area.top + area.bottom) / 2;
    return true;
}

HWND FindClientWindow() { return FindWindowA("QuorvaneDemoClient", "Quorvane"); }

HWND FindShownAlert() {
    HWND alert = FindWindowA("QuorvaneAlertPopup", nullptr);
    if (!alert || !IsWindowVisible(alert)) return nullptr;
    RECT area{};
    GetWindowRect(alert, &area);
    const int fullHeight = 145;  // the alert window rises to this height, then stays
    return area.bottom - area.top >= fullHeight ? alert : nullptr;
}
