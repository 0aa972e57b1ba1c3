#include "tray/NotifyArea.h"

#include <shellapi.h>

BOOL NotifyArea::Notify(DWORD operation, const NotifyIconRecord& record) {
    // The record is the leading part of NOTIFYICONDATAA; cbSize tells the
    // shell which form it gets.
    return Shell_NotifyIconA(operation, reinterpret_cast<NOTIFYICONDATAA*>(const_cast<NotifyIconRecord*>(&record)));
}

NotifyArea& NotifyArea::Shell() {
    static NotifyArea shell;
    return shell;
}

UINT TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageA("TaskbarCreated");
    return message;
}
