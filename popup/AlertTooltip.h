// The tooltip control that shows the hint over the alert's message area.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "PopupLayout.h"

class AlertTooltip {
public:
    AlertTooltip() = default;
    ~AlertTooltip();
    AlertTooltip(const AlertTooltip&) = delete;
    AlertTooltip& operator=(const AlertTooltip&) = delete;

    // Creates the control owned by `owner`, active, with tool 1 over `area`.
    bool Create(HWND owner, const char* text, const Rect& area);
    bool Exists() const { return m_hTip != nullptr; }
    void SetArea(const Rect& area);
    // Lets the control see a pointer move over the owner.
    void RelayMouseMove(POINT point);

private:
    TOOLINFOA ToolInfo() const;

    HWND m_hTip = nullptr;
    HWND m_hOwner = nullptr;
};
