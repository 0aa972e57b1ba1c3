#include "window/AboutDialog.h"

#include "ResourceIds.h"
#include "app/ResourceSource.h"

AboutDialog::AboutDialog() : DialogWindow(IDD_ABOUT) {}

bool AboutDialog::OnMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT* result) {
    if (msg == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndModal(LOWORD(wParam));
        *result = 0;
        return true;
    }
    return false;
}

void AddAboutItem(HWND window) {
    std::string about = LoadResourceString(IDS_ABOUTBOX);
    HMENU systemMenu = GetSystemMenu(window, FALSE);
    if (about.empty() || !systemMenu) return;
    AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(systemMenu, MF_STRING, IDM_ABOUTBOX, about.c_str());
}
