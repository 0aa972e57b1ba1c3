// The library's two exports. The single alert window object lives from the
// library's load to its unload.
#include <windows.h>

#include "PopupMsgWnd.h"
#include "ReferFile.h"

namespace {
CPopupMsgWnd thePopup;
}

extern "C" int __cdecl TDVN_Init(HWND hNotifyWnd) {
    thePopup.Create(hNotifyWnd);
    return 1;
}

extern "C" int __cdecl TDVN_PopupMsgWnd() {
    // Without a window (no TDVN_Init yet) there is nothing to show alerts in.
    if (!thePopup.Exists()) return 1;
    if (ReadReferFile(ReferFilePath().c_str(), &thePopup.Queue())) thePopup.ShowNext();
    return 1;
}
