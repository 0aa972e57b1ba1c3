#include "TdvnLibrary.h"

namespace {

template <typename Function>
Function Export(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

TdvnLibrary::TdvnLibrary() : module_(LoadLibraryA("TDVN.dll")) {
    if (!module_) return;
    init_ = Export<InitFunction>(module_, "TDVN_Init");
    popup_ = Export<PopupFunction>(module_, "TDVN_PopupMsgWnd");
}

TdvnLibrary::~TdvnLibrary() {
    if (module_) FreeLibrary(module_);
}
