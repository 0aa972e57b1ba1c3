// The library's two exports. TDVN_Init makes the alert window on the
// client's thread; TDVN_PopupMsgWnd reads the reference file into its queue
// and puts the first alert on screen. The library keeps nothing else, and
// does nothing when it is unloaded: the window goes with the client's window.
#include <windows.h>

#include "PopupMsgWnd.h"
#include "ReferFile.h"

// No exception may leave an export: the client is built by another
// compiler, and an exception it cannot take ends its program. Out of memory
// (a reference file too large, say) therefore shows nothing and returns 1.
extern "C" int __cdecl TDVN_Init(HWND hNotifyWnd) {
    try {
        CPopupMsgWnd::Open(hNotifyWnd);
    } catch (...) {
    }
    return 1;
}

extern "C" int __cdecl TDVN_PopupMsgWnd() {
    // Without a window (no TDVN_Init yet) there is nothing to show alerts in.
    CPopupMsgWnd* popup = CPopupMsgWnd::Existing();
    if (!popup) return 1;
    try {
        if (ReadReferFile(ReferFilePath().c_str(), &popup->Queue())) popup->ShowNext();
    } catch (...) {
    }
    return 1;
}
