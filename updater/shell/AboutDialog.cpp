#include "AboutDialog.h"

#include "ResourceIds.h"

AboutDialog::AboutDialog() : DialogWindow(IDD_ABOUT) {}

bool AboutDialog::OnMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT* result) {
    if (msg == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndModal(LOWORD(wParam));
        *result = 0;
        return true;
    }
    return false;
}
