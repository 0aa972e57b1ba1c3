// TDVN.dll loaded by name, as the client loads it (from beside the program
// first), with its two exports; unloaded with the object. Each load starts
// the library's state afresh.
#pragma once

#include <windows.h>

class TdvnLibrary {
public:
    TdvnLibrary();
    ~TdvnLibrary();
    TdvnLibrary(const TdvnLibrary&) = delete;
    TdvnLibrary& operator=(const TdvnLibrary&) = delete;

    bool Loaded() const { return module_ && init_ && popup_; }
    HMODULE Module() const { return module_; }
    // TDVN_Init with the window that receives clicks on an alert.
    int Init(HWND notify) const { return init_(notify); }
    // TDVN_PopupMsgWnd: shows the alerts of data\refer.xml.
    int PopupMsgWnd() const { return popup_(); }

private:
    typedef int(__cdecl* InitFunction)(HWND);
    typedef int(__cdecl* PopupFunction)();

    HMODULE module_ = nullptr;
    InitFunction init_ = nullptr;
    PopupFunction popup_ = nullptr;
};
