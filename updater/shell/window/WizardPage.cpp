#include "window/WizardPage.h"

#include "ResourceIds.h"

bool WizardPage::Create(HWND parent, const RECT& area) {
    if (!CreateChild(parent)) return false;
    SetWindowPos(hwnd(), nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    return true;
}

void WizardPage::OnInitDialog() {
    if (HWND heading = Item(IDC_HEADING)) {
        m_heading.Attach(heading);
        m_heading.SetFontStyle(LABEL_BOLD);
    }
}

bool WizardPage::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED && lParam) {
        // The page's buttons act on the wizard as a whole.
        *result = SendMessageA(GetParent(hwnd()), WM_COMMAND, wParam, lParam);
        return true;
    }
    return false;
}
