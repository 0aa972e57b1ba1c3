// The heap texts that the engine's NOTIFY_TEXT and NOTIFY_SERVER reports
// carry belong to the receiver, also those still queued when its window
// goes: the system drops such messages, and their texts with them.
#pragma once

#include <windows.h>

// Frees the text of a NOTIFY_TEXT or NOTIFY_SERVER report; other codes carry none.
void ReleaseNotifyText(WPARAM code, LPARAM value);

// Removes the engine's reports still queued for the window (of the calling
// thread), freeing their texts. Returns how many were removed.
int DiscardQueuedNotifications(HWND window);
