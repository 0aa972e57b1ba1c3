// A hook into the message stream of an existing window. Any number of hooks
// may watch one window: they form a chain, newest first, kept in one
// process-wide map from window to the newest hook. The window's procedure is
// replaced by the common hook procedure while it has at least one hook.
#pragma once

#include <windows.h>

class CSubclassWnd {
public:
    CSubclassWnd() = default;
    virtual ~CSubclassWnd();
    CSubclassWnd(const CSubclassWnd&) = delete;
    CSubclassWnd& operator=(const CSubclassWnd&) = delete;

    // With a window: hooks it (unhooking this hook from any other window
    // first). With null: removes this hook from its window. Always TRUE.
    BOOL HookWnd(HWND hWnd);
    void Unhook();

    HWND hookedWindow() const { return m_hWnd; }
    bool IsHooked() const { return m_hWnd != nullptr; }

    // Handles one message; the base passes it on to the older hook or, at
    // the end of the chain, to the window's original procedure.
    virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);

protected:
    // Passes the thread's current message on, as if this hook had not seen it.
    LRESULT Default();

private:
    friend LRESULT CALLBACK SubclassHookProc(HWND, UINT, WPARAM, LPARAM);
    void Remove();

    HWND m_hWnd = nullptr;
    WNDPROC m_pOldWndProc = nullptr;
    CSubclassWnd* m_pNext = nullptr;
};

// The newest hook of a window, or null when it has none.
CSubclassWnd* FindHook(HWND hWnd);
