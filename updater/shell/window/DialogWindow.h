// A dialog made from a template of the resource source: modal (with its own
// message loop) or as a child window of another dialog. Subclasses handle the
// messages they care about; the rest take the dialog manager's course.
#pragma once

#include <windows.h>

class DialogWindow {
public:
    explicit DialogWindow(int templateId) : templateId_(templateId) {}
    virtual ~DialogWindow();
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;

    INT_PTR RunModal(HWND owner);
    bool CreateChild(HWND parent);

    HWND hwnd() const { return hwnd_; }
    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }

protected:
    virtual void OnInitDialog() {}
    // Returns true when the message was handled; *result is then its answer.
    virtual bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);
    void EndModal(INT_PTR code) { EndDialog(hwnd_, code); }

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    int templateId_;
    HWND hwnd_ = nullptr;
    bool child_ = false;
};
