// The one window message by which the update engine reports to the dialog,
// and its notify codes (wParam). Codes 3 and 4 carry a 260-byte heap text in
// lParam that the receiver frees with delete[].
#pragma once

#define WM_UPDATE_NOTIFY (0x0400 + 103)  // WM_USER + 103

enum NotifyCode {
    NOTIFY_NEWS_READY = 0,     // posted, lParam 0
    NOTIFY_ITEM_COUNT = 1,     // sent, lParam = planned count
    NOTIFY_ITEM_DONE = 2,      // posted, lParam = zero-based item index
    NOTIFY_TEXT = 3,           // posted, lParam = char[260] heap text
    NOTIFY_SERVER = 4,         // sent, lParam = char[260] heap text
    NOTIFY_NOTHING_TO_DO = 5,  // sent, lParam 0
    NOTIFY_PROGRESS = 6,       // posted, lParam = percent
    NOTIFY_FINISHED = 8,       // sent, lParam = success count
};
