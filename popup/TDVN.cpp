// The library's two exports. The single alert window object lives from the
// library's load to its unload.
#include <windows.h>

#include "PopupMsgWnd.h"
#include "ReferFile.h"

namespace {
CPopupMsgWnd thePopup;
}

// No exception may leave an export: the client is built by another
// compiler, and an exception it cannot take ends its program. Out of memory
// (a reference file too large, say) therefore shows nothing and returns 1.
extern "C" int __cdecl TDVN_Init(HWND hNotifyWnd) {
    try {
        thePopup.Create(hNotifyWnd);
    } catch (...) {
    }
    return 1;
}

extern "C" int __cdecl TDVN_PopupMsgWnd() {
    // Without a window (no TDVN_Init yet) there is nothing to show alerts in.
    if (!thePopup.Exists()) return 1;
    try {
        if (ReadReferFile(ReferFilePath().c_str(), &thePopup.Queue())) thePopup.ShowNext();
    } catch (...) {
    }
    return 1;
}
