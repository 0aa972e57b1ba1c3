#include "AlertLibrary.h"

AlertLibrary::AlertLibrary() : module_(LoadLibraryA("TDVN.dll")) {
    if (!module_) return;
    init_ = reinterpret_cast<InitFunction>(reinterpret_cast<void*>(GetProcAddress(module_, "TDVN_Init")));
    popup_ = reinterpret_cast<PopupFunction>(reinterpret_cast<void*>(GetProcAddress(module_, "TDVN_PopupMsgWnd")));
}

AlertLibrary::~AlertLibrary() {
    if (module_) FreeLibrary(module_);
}
