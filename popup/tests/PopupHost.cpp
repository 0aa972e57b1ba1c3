#include "PopupHost.h"

#include <commctrl.h>

#include "FolderCreation.h"
#include "GdiHandles.h"
#include "ProgramFolder.h"
#include "TestFiles.h"

namespace {

const char kNotifyClass[] = "PopupTestClient";
const UINT kClickMessage = 0x0709;

struct PopupSearch {
    HMODULE library;
    HWND found;
};

BOOL CALLBACK MatchPopup(HWND hwnd, LPARAM lParam) {
    PopupSearch* search = reinterpret_cast<PopupSearch*>(lParam);
    char className[64] = {};
    GetClassNameA(hwnd, className, sizeof className);
    HINSTANCE owner = reinterpret_cast<HINSTANCE>(GetClassLongPtrA(hwnd, GCLP_HMODULE));
    if (owner == search->library && std::string(className) != TOOLTIPS_CLASSA) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

struct TooltipSearch {
    HWND owner;
    HWND found;
};

BOOL CALLBACK MatchTooltip(HWND hwnd, LPARAM lParam) {
    TooltipSearch* search = reinterpret_cast<TooltipSearch*>(lParam);
    char className[64] = {};
    GetClassNameA(hwnd, className, sizeof className);
    if (std::string(className) == TOOLTIPS_CLASSA && GetWindow(hwnd, GW_OWNER) == search->owner) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

NotifyWindow::NotifyWindow() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kNotifyClass;
    RegisterClassA(&windowClass);  // fails harmlessly when already registered
    m_hWnd = CreateWindowExA(0, kNotifyClass, "client", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                            nullptr, GetModuleHandleA(nullptr), this);
}

NotifyWindow::~NotifyWindow() { Destroy(); }

void NotifyWindow::Destroy() {
    if (m_hWnd) DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
}

LRESULT CALLBACK NotifyWindow::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    }
    NotifyWindow* self = reinterpret_cast<NotifyWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (message == kClickMessage && self) {
        self->m_clicks.push_back(ClickReport{wParam, reinterpret_cast<const char*>(lParam)});
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

std::string ReferFileBesideProgram() { return JoinPath(ProgramFolder().value(), "data\\refer.xml"); }

bool WriteReferFile(const std::string& bytes) {
    CreateFolders(JoinPath(ProgramFolder().value(), "data"));
    return WriteWholeFile(ReferFileBesideProgram(), bytes);
}

void DeleteReferFile() { DeleteFileA(ReferFileBesideProgram().c_str()); }

HWND FindPopupWindow(HMODULE library) {
    PopupSearch search = {library, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), MatchPopup, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindTooltipOf(HWND popup) {
    TooltipSearch search = {popup, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), MatchTooltip, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

RECT WindowRect(HWND hwnd) {
    RECT rect = {};
    GetWindowRect(hwnd, &rect);
    return rect;
}

RECT WorkArea() {
    RECT area = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

bool TimerRunning(HWND hwnd, UINT_PTR id, UINT interval) {
    if (!KillTimer(hwnd, id)) return false;
    SetTimer(hwnd, id, interval, nullptr);
    return true;
}

COLORREF ClientPixel(HWND hwnd, int x, int y) {
    WindowDc dc(hwnd);
    return GetPixel(dc.Get(), x, y);
}
