// The alert library TDVN.dll, loaded from beside the client as the client
// loads it, with its two exports.
#pragma once

#include <windows.h>

class AlertLibrary {
public:
    AlertLibrary();
    ~AlertLibrary();
    AlertLibrary(const AlertLibrary&) = delete;
    AlertLibrary& operator=(const AlertLibrary&) = delete;

    bool loaded() const { return init_ && popup_; }
    // TDVN_Init with the window that receives clicks on an alert.
    void Init(HWND notifyWindow) const { init_(notifyWindow); }
    // TDVN_PopupMsgWnd: shows the alerts of data\refer.xml.
    void ShowAlerts() const { popup_(); }

private:
    typedef int(__cdecl* InitFunction)(HWND);
    typedef int(__cdecl* PopupFunction)();

    HMODULE module_ = nullptr;
    InitFunction init_ = nullptr;
    PopupFunction popup_ = nullptr;
};
