#include "window/DialogWindow.h"

#include "window/CurrentMessage.h"
#include "app/ResourceSource.h"

DialogWindow::~DialogWindow() {
    if (child_ && hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

INT_PTR DialogWindow::RunModal(HWND owner) {
    return DialogBoxParamA(ResourceModule(), MAKEINTRESOURCEA(templateId_), owner, &DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

bool DialogWindow::CreateChild(HWND parent) {
    child_ = true;
    return CreateDialogParamA(ResourceModule(), MAKEINTRESOURCEA(templateId_), parent, &DialogProc,
                              reinterpret_cast<LPARAM>(this)) != nullptr;
}

bool DialogWindow::OnMessage(UINT, WPARAM, LPARAM, LRESULT*) { return false; }

INT_PTR CALLBACK DialogWindow::DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    CurrentMessageScope scope(hwnd, msg, wParam, lParam);
    DialogWindow* self;
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<DialogWindow*>(lParam);
        self->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
        self->OnInitDialog();
        return TRUE;
    }
    self = reinterpret_cast<DialogWindow*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    if (!self) return FALSE;
    if (msg == WM_NCDESTROY) self->hwnd_ = nullptr;
    LRESULT result = 0;
    if (!self->OnMessage(msg, wParam, lParam, &result)) return FALSE;
    SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, result);
    return TRUE;
}
