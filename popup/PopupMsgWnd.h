// The alert window: a borderless top-most tool window at the bottom-right
// corner of the work area that shows one alert at a time, holds it while the
// pointer rests on it, lets it sink out of sight, and reports a click on its
// message to the client's window.
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
    static constexpr UINT_PTR TIMER_NEXT = 10;   // gap before the next alert
    static constexpr UINT_PTR TIMER_SLIDE = 11;  // one step of sinking
    static constexpr UINT_PTR TIMER_HOLD = 12;   // time an alert stays at full size
    static constexpr UINT kNextInterval = 1000;
    static constexpr UINT kSlideInterval = 20;
    static constexpr UINT kHoldInterval = 5000;

    CPopupMsgWnd();
    ~CPopupMsgWnd();
    CPopupMsgWnd(const CPopupMsgWnd&) = delete;
    CPopupMsgWnd& operator=(const CPopupMsgWnd&) = delete;

    // Stores the client's window and creates the popup, shown at zero size.
    bool Create(HWND notifyWnd);
    bool Exists() const { return m_hWnd != nullptr; }
    CReferQueue& Queue() { return m_queue; }
    // Puts the front queued record on screen at full size.
    void ShowNext();

private:
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

    void DrawAlert(HDC dc, const RECT& client);
    void Place(int x, int y, int width, int height);
    void PlaceAtCorner(const Rect& workArea);
    void RepaintCloseButton();
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd = nullptr;
    bool m_classRegistered = false;

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
