// The alert window: a borderless top-most tool window at the bottom-right
// corner of the work area that shows one alert at a time, holds it while the
// pointer rests on it, lets it sink out of sight, and reports a click on its
// message to the client's window.
//
// The window lives on the client's thread, from TDVN_Init until the client's
// window goes: it is owned by that window, so the system destroys it with
// its owner, on that thread, and nothing of it is left for the library's
// unload. (Without a client window of that thread it has no owner and stays
// until its thread ends.)
#pragma once

#include <windows.h>

#include <string>

#include "AlertTooltip.h"
#include "GdiHandles.h"
#include "PopupLayout.h"
#include "ReferQueue.h"
#include "ReferRecord.h"

// Sent to the client's window when an alert's message is clicked:
// wParam the alert's identifier, lParam its NUL-terminated message text.
constexpr UINT WM_POPUPMSG_CLICKED = WM_USER + 777;

class CPopupMsgWnd {
public:
    // The window's timers, by what each one times.
    enum Timer : UINT_PTR {
        kGapBeforeNextAlert = 10,  // 1 s with nothing on screen before the next alert
        kSinkStep = 11,            // 20 ms for each pixel the alert sinks
        kHoldAtFullSize = 12,      // 5 s at full size, started afresh when the pointer leaves
    };

    // Makes the popup on the calling thread, shown at zero size, and answers
    // it; when it exists already, only changes the window that clicks are
    // reported to. Null when the window cannot be made.
    static CPopupMsgWnd* Open(HWND notifyWnd);
    // The popup while its window exists, else null.
    static CPopupMsgWnd* Existing() { return s_pOpen; }

    CPopupMsgWnd(const CPopupMsgWnd&) = delete;
    CPopupMsgWnd& operator=(const CPopupMsgWnd&) = delete;

    CReferQueue& Queue() { return m_queue; }
    // Puts the front queued record on screen at full size.
    void ShowNext();

private:
    // The object belongs to its window: made by Open, deleted when the
    // window is destroyed.
    explicit CPopupMsgWnd(HWND notifyWnd);
    ~CPopupMsgWnd();

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

    LRESULT OnCreate(WPARAM wParam, LPARAM lParam);
    void OnSize(int cx, int cy);
    void OnPaint();
    void OnTimer(UINT_PTR id);
    LRESULT OnNcHitTest(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetCursor(WPARAM wParam, LPARAM lParam);
    void OnMouseMove(POINT point);
    void OnMouseLeave();
    void OnLButtonUp(POINT point);

    void Start(Timer timer);
    void Stop(Timer timer);
    void DrawAlert(HDC dc, const RECT& client);
    void Place(int x, int y, int width, int height);
    void PlaceAtCorner(const Rect& workArea);
    void RepaintCloseButton();
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

    static CPopupMsgWnd* s_pOpen;

    HWND m_hWnd = nullptr;
    HWND m_hNotifyWnd = nullptr;
    GdiObject<HBITMAP> m_bmpBack;
    GdiObject<HBITMAP> m_bmpCloseHot;
    CReferQueue m_queue;
    Rect m_rcCaption;
    Rect m_rcClose;
    Rect m_rcBody;
    bool m_bTracking = false;
    bool m_bCloseHot = false;
    AlertTooltip m_tip;
    ReferRecord m_cur;
    std::string m_strTitle;
    int m_nHeight = 0;
};
