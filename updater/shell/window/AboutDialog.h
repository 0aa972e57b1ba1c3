// The About box opened from the system menu: icon, version line, copyright;
// and the system-menu item that opens it.
#pragma once

#include "window/DialogWindow.h"

class AboutDialog : public DialogWindow {
public:
    AboutDialog();

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

// Appends a separator and the About item (command IDM_ABOUTBOX, the text of
// string IDS_ABOUTBOX) to the window's system menu; nothing when that string
// is empty, so a resource library can leave the item out.
void AddAboutItem(HWND window);
