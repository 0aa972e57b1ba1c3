// The notification area of the task bar, in the form the tray icon uses: the
// shell's icon record in its first layout (NOTIFYICONDATA_V1_SIZE): 88 bytes
// in a 32-bit program, 104 in a 64-bit one, where handles take 8 bytes.
#pragma once

#include <windows.h>

struct NotifyIconRecord {
    DWORD cbSize;
    HWND hWnd;
    UINT uID;
    UINT uFlags;
    UINT uCallbackMessage;
    HICON hIcon;
    CHAR szTip[64];
};
#ifdef _WIN64
static_assert(sizeof(NotifyIconRecord) == 104, "the first form of the shell's icon record is 104 bytes on x64");
#else
static_assert(sizeof(NotifyIconRecord) == 88, "the first form of the shell's icon record is 88 bytes");
#endif

class NotifyArea {
public:
    virtual ~NotifyArea() = default;
    // One Shell_NotifyIcon call: NIM_ADD, NIM_MODIFY or NIM_DELETE.
    virtual BOOL Notify(DWORD operation, const NotifyIconRecord& record);

    static NotifyArea& Shell();
};

// The registered message by which the shell announces a new task bar.
UINT TaskbarCreatedMessage();
