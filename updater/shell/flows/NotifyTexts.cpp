#include "flows/NotifyTexts.h"

#include "run/Notify.h"

void ReleaseNotifyText(WPARAM code, LPARAM value) {
    if (code == NOTIFY_TEXT || code == NOTIFY_SERVER) delete[] reinterpret_cast<char*>(value);
}

int DiscardQueuedNotifications(HWND window) {
    int removed = 0;
    MSG message;
    while (PeekMessageA(&message, window, WM_UPDATE_NOTIFY, WM_UPDATE_NOTIFY, PM_REMOVE | PM_NOYIELD)) {
        ReleaseNotifyText(message.wParam, message.lParam);
        ++removed;
    }
    return removed;
}
