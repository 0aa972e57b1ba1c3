// The engine's reports to the dialog: WM_UPDATE_NOTIFY sent (the dialog
// handles it before the engine goes on) or posted. Every report of an engine
// run goes through its one channel, a transfer's progress included. Nothing
// is sent or posted while no window is set.
#pragma once

#include "run/Notify.h"

#include <windows.h>

#include <string>

class NotifyChannel {
public:
    void SetWindow(HWND window) { window_ = window; }

    void Send(NotifyCode code, LPARAM value) const;
    void Post(NotifyCode code, LPARAM value) const;
    // A 260-byte heap copy of the text that the receiver frees with delete[].
    void SendText(NotifyCode code, const std::string& text) const;
    void PostText(NotifyCode code, const std::string& text) const;

private:
    HWND window_ = nullptr;
};
