// What a worker asks of the update dialog. The dialog's windows belong to its
// own thread: a worker never shows, hides, fills or moves them itself but
// sends the dialog one of its requests, which the dialog's thread carries
// out before the call returns, so the flow goes on only once the change is
// made, in the order the worker asked for it.
#pragma once

#include <windows.h>

#include "install/Installer.h"

// The dialog's own message: wParam a FlowRequest, lParam its value.
#define WM_FLOW_REQUEST (0x8000 + 1)  // WM_APP + 1

enum FlowRequest {
    REQUEST_SHOW_PAGE = 1,         // lParam = page number
    REQUEST_SHOW_WINDOW = 2,       // normal state, in the foreground
    REQUEST_HIDE_WINDOW = 3,       // into the notification area
    REQUEST_LOAD_NOTES = 4,        // answers loadReleaseNotes' result
    REQUEST_INSTALL_NOW = 5,       // as the "立即安装" button would
    REQUEST_INSTALL_RANGE = 6,     // lParam = file count
    REQUEST_INSTALL_POSITION = 7,  // lParam = files handled
    REQUEST_INSTALL_FINISH = 8,    // lParam = 1 enables "完成", 0 disables it
    REQUEST_INSTALL_DONE = 9,      // the caption says the installation is done
};

class DialogRequests : public InstallProgressView {
public:
    // Made on the dialog's thread, while its window exists.
    explicit DialogRequests(HWND dialog) : m_dialog(dialog) {}

    // The window that receives the engine's reports.
    HWND NotifyWindow() const { return m_dialog; }

    void ShowPage(int page) const { Ask(REQUEST_SHOW_PAGE, page); }
    void ShowWindow() const { Ask(REQUEST_SHOW_WINDOW); }
    void HideWindow() const { Ask(REQUEST_HIDE_WINDOW); }
    int LoadReleaseNotes() const { return static_cast<int>(Ask(REQUEST_LOAD_NOTES)); }
    void InstallNow() const { Ask(REQUEST_INSTALL_NOW); }

    // InstallProgressView: the install page.
    void SetRange(int count) override { Ask(REQUEST_INSTALL_RANGE, count); }
    void SetPosition(int position) override { Ask(REQUEST_INSTALL_POSITION, position); }
    void EnableFinish(bool enabled) override { Ask(REQUEST_INSTALL_FINISH, enabled ? 1 : 0); }
    void SetDoneCaption() override { Ask(REQUEST_INSTALL_DONE); }

private:
    // Sent: once the window is gone (the program is ending) it answers 0.
    LRESULT Ask(FlowRequest request, LPARAM value = 0) const {
        return SendMessageA(m_dialog, WM_FLOW_REQUEST, request, value);
    }

    HWND m_dialog;
};
