// A dialog made from a template of the resource source: modal (with its own
// message loop) or as a child window of another dialog. Subclasses handle the
// messages they care about; the rest take the dialog manager's course.
//
// The window belongs to the thread that created it: only that thread reaches
// it through hwnd() and Item(). Other threads ask it by message; a call from
// another thread ends the program at once (in every build), as the fault it is.
#pragma once

#include <windows.h>

class DialogWindow {
public:
    explicit DialogWindow(int templateId) : m_templateId(templateId) {}
    virtual ~DialogWindow();
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;

    INT_PTR RunModal(HWND owner);
    bool CreateChild(HWND parent);

    HWND hwnd() const {
        RequireOwnThread();
        return m_hWnd;
    }
    HWND Item(int id) const { return GetDlgItem(hwnd(), id); }

protected:
    virtual void OnInitDialog() {}
    // Returns true when the message was handled; *result is then its answer.
    virtual bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);
    void EndModal(INT_PTR code) { EndDialog(hwnd(), code); }

private:
    void RequireOwnThread() const;
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    int m_templateId;
    HWND m_hWnd = nullptr;
    bool m_isChild = false;
    // Set when the window is created; 0 before.
    DWORD m_ownerThread = 0;
};
