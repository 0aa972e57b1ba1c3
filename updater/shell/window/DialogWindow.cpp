#include "window/DialogWindow.h"

#include <cstdio>

#include "window/CurrentMessage.h"
#include "app/ResourceSource.h"

DialogWindow::~DialogWindow() {
    if (m_isChild && m_hWnd && IsWindow(m_hWnd)) DestroyWindow(m_hWnd);
}

INT_PTR DialogWindow::RunModal(HWND owner) {
    return DialogBoxParamA(ResourceModule(), MAKEINTRESOURCEA(m_templateId), owner, &DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

bool DialogWindow::CreateChild(HWND parent) {
    m_isChild = true;
    return CreateDialogParamA(ResourceModule(), MAKEINTRESOURCEA(m_templateId), parent, &DialogProc,
                              reinterpret_cast<LPARAM>(this)) != nullptr;
}

void DialogWindow::RequireOwnThread() const {
    if (m_ownerThread == 0 || m_ownerThread == GetCurrentThreadId()) return;
    std::fputs("\nfault: a window used by a thread other than its own\n", stdout);
    std::fflush(stdout);
    // At once: nothing else of the program may run on after such a call.
    TerminateProcess(GetCurrentProcess(), 3);
}

bool DialogWindow::OnMessage(UINT, WPARAM, LPARAM, LRESULT*) { return false; }

INT_PTR CALLBACK DialogWindow::DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    CurrentMessageScope scope(hwnd, msg, wParam, lParam);
    DialogWindow* self;
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<DialogWindow*>(lParam);
        self->m_hWnd = hwnd;
        self->m_ownerThread = GetCurrentThreadId();
        SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
        self->OnInitDialog();
        return TRUE;
    }
    self = reinterpret_cast<DialogWindow*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    if (!self) return FALSE;
    if (msg == WM_NCDESTROY) self->m_hWnd = nullptr;
    LRESULT result = 0;
    if (!self->OnMessage(msg, wParam, lParam, &result)) return FALSE;
    SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, result);
    return TRUE;
}
