#include "TdvnLibrary.h"

namespace {

template <typename Function>
Function Export(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

TdvnLibrary::TdvnLibrary() : module_(LoadLibraryA("TDVN.dll")) {
    if (!module_) return;
    init_ = Export<InitFunction>(module_.Get(), "TDVN_Init");
    popup_ = Export<PopupFunction>(module_.Get(), "TDVN_PopupMsgWnd");
}

TdvnLibrary::~TdvnLibrary() = default;
