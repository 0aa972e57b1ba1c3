#include "KoravelProcess.h"

#include <commctrl.h>

#include <vector>

#include "ResourceIds.h"
#include "TestSupport.h"

KoravelProcess::KoravelProcess(const std::string& folder, const std::string& modeText) : folder_(folder) {
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    FileHandle output(CreateFileA((folder + "\\koravel-out.txt").c_str(), GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                  nullptr));
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output.Get();
    startup.hStdError = output.Get();
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    std::string commandLine = "\"" + folder + "\\Koravel.exe\" " + modeText;
    PROCESS_INFORMATION started{};
    if (CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(), &startup, &started))
        process_ = ProcessHandles(started);
}

KoravelProcess::~KoravelProcess() {
    if (running()) {
        TerminateProcess(process_.process.Get(), 1);
        WaitForSingleObject(process_.process.Get(), 5000);
    }
}

bool KoravelProcess::WaitExit(DWORD milliseconds) {
    return WaitFor([this] { return !running(); }, std::chrono::milliseconds(milliseconds));
}

DWORD KoravelProcess::exitCode() const {
    DWORD code = STILL_ACTIVE;
    if (process_.process) GetExitCodeProcess(process_.process.Get(), &code);
    return code;
}

bool KoravelProcess::running() const {
    return process_.process && WaitForSingleObject(process_.process.Get(), 0) == WAIT_TIMEOUT;
}

namespace {

struct DialogSearch {
    DWORD processId;
    std::string caption;
    bool visibleOnly;
    HWND found = nullptr;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<DialogSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId) return TRUE;
    if (search->visibleOnly) {
        if (!IsWindowVisible(window)) return TRUE;
    } else {
        char className[64] = {};
        GetClassNameA(window, className, sizeof className);
        if (std::string(className) != "#32770") return TRUE;
        if (!search->caption.empty() && WindowText(window) != search->caption) return TRUE;
    }
    search->found = window;
    return FALSE;
}

}  // namespace

HWND KoravelProcess::FindDialog(const std::string& caption) const {
    DialogSearch search{process_.processId, caption, false};
    EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND KoravelProcess::WaitDialog(const std::string& caption) const {
    HWND found = nullptr;
    // Shown only once its controls are made and initialised.
    WaitFor([&] { return (found = FindDialog(caption)) != nullptr && IsWindowVisible(found); });
    return found;
}

bool KoravelProcess::AnyVisibleWindow() const {
    DialogSearch search{process_.processId, std::string(), true};
    EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found != nullptr;
}

std::string KoravelProcess::Output() const { return ReadWholeFile(folder_ + "\\koravel-out.txt"); }

std::string WindowText(HWND window) {
    // Asked of the control itself: an edit box of another process keeps its
    // text where GetWindowText does not look.
    char text[4096] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                        &copied);
    return text;
}

HWND VisiblePageWindow(HWND dialog) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char className[64] = {};
        GetClassNameA(child, className, sizeof className);
        // The page's own visibility: the dialog itself may be hidden.
        bool shown = (GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE) != 0;
        if (std::string(className) == "#32770" && shown) return child;
    }
    return nullptr;
}

int VisiblePage(HWND dialog) {
    HWND page = VisiblePageWindow(dialog);
    return page ? IdentifyPage(page) : -1;
}

HWND PageWindow(HWND dialog, int number) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char className[64] = {};
        GetClassNameA(child, className, sizeof className);
        if (std::string(className) == "#32770" && IdentifyPage(child) == number) return child;
    }
    return nullptr;
}

int IdentifyPage(HWND page) {
    if (GetDlgItem(page, IDC_FINISH)) return 5;
    if (GetDlgItem(page, IDC_NOTES)) return 4;
    std::string heading = WindowText(GetDlgItem(page, IDC_HEADING));
    if (heading == Gb(u8"检查更新")) return 0;
    if (heading == Gb(u8"检测到更新")) return WindowText(GetDlgItem(page, IDC_EXIT)) == Gb(u8"以后提醒") ? 1 : 2;
    if (heading == Gb(u8"没有更新")) return 3;
    if (heading == Gb(u8"更新已可安装")) return 6;
    if (heading == Gb(u8"更新失败")) return 7;
    return -1;
}

int WaitForPage(HWND dialog, int page) {
    WaitFor([&] { return VisiblePage(dialog) == page; });
    return VisiblePage(dialog);
}

bool ClickOnPage(HWND dialog, int controlId) {
    HWND page = VisiblePageWindow(dialog);
    HWND button = page ? GetDlgItem(page, controlId) : nullptr;
    if (!button) return false;
    PostMessageA(page, WM_COMMAND, MAKEWPARAM(controlId, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    return true;
}

int ProgressPosition(HWND page) {
    return static_cast<int>(SendMessageA(GetDlgItem(page, IDC_PROGRESS), PBM_GETPOS, 0, 0));
}

int ProgressLimit(HWND page) {
    return static_cast<int>(SendMessageA(GetDlgItem(page, IDC_PROGRESS), PBM_GETRANGE, FALSE, 0));
}

bool InstallDone(HWND dialog) {
    HWND page = VisiblePageWindow(dialog);
    return page && WindowText(GetDlgItem(page, IDC_PROGRESS_CAPTION)) == Gb(u8"更新完成");
}
