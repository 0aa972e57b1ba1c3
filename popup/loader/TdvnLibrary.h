// TDVN.dll loaded by name, as the client loads it (from beside the program
// first), with its two exports; freed with the object. The alert window that
// TDVN_Init makes goes with the client's window, and a later TDVN_Init makes
// a fresh one; once it has made a window the library stays loaded.
#pragma once

#include <windows.h>

#include "LoadedModule.h"

class TdvnLibrary {
public:
    TdvnLibrary();
    ~TdvnLibrary();
    TdvnLibrary(const TdvnLibrary&) = delete;
    TdvnLibrary& operator=(const TdvnLibrary&) = delete;

    bool Loaded() const { return module_ && init_ && popup_; }
    HMODULE Module() const { return module_.Get(); }
    // TDVN_Init with the window that receives clicks on an alert.
    int Init(HWND notify) const { return init_(notify); }
    // TDVN_PopupMsgWnd: shows the alerts of data\refer.xml.
    int PopupMsgWnd() const { return popup_(); }

private:
    typedef int(__cdecl* InitFunction)(HWND);
    typedef int(__cdecl* PopupFunction)();

    LoadedModule module_;
    InitFunction init_ = nullptr;
    PopupFunction popup_ = nullptr;
};
