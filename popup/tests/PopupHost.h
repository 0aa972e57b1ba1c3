// What the window tests need of a client besides the loaded library: a
// window that receives the click message, the reference file beside the
// program, and a look at the popup's window and timers.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "TdvnLibrary.h"

struct ClickReport {
    WPARAM id;
    std::string text;
};

// A client window that records every click message it receives.
class NotifyWindow {
public:
    NotifyWindow();
    ~NotifyWindow();
    NotifyWindow(const NotifyWindow&) = delete;
    NotifyWindow& operator=(const NotifyWindow&) = delete;

    HWND Handle() const { return m_hWnd; }
    // Destroys the window now, as a client closing its main window does.
    void Destroy();
    const std::vector<ClickReport>& Clicks() const { return m_clicks; }
    void ClearClicks() { m_clicks.clear(); }

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND m_hWnd = nullptr;
    std::vector<ClickReport> m_clicks;
};

// data\refer.xml beside the running program.
std::string ReferFileBesideProgram();
// False when the file could not be written.
bool WriteReferFile(const std::string& bytes);
void DeleteReferFile();

// The library's popup window on this thread, or null.
HWND FindPopupWindow(HMODULE library);
// The tooltip control owned by the popup, or null.
HWND FindTooltipOf(HWND popup);

RECT WindowRect(HWND hwnd);
RECT WorkArea();

// Whether the window's timer `id` is running. Looks by stopping it and, if
// it was there, starts it again with the same interval.
bool TimerRunning(HWND hwnd, UINT_PTR id, UINT interval);

// Pixel of the window's client area as last painted.
COLORREF ClientPixel(HWND hwnd, int x, int y);

// Pumps this thread's messages for up to `milliseconds`, or until `done`.
template <typename Done>
bool PumpUntil(DWORD milliseconds, Done done) {
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > milliseconds) return false;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return true;
}
