#include "PopupMsgWnd.h"

#include <commctrl.h>
#include <windowsx.h>

#include <cstring>

#include "AlertTimeText.h"
#include "LibraryModule.h"
#include "PopupResources.h"
#include "PopupTexts.h"

namespace {

const char kWindowClassName[] = "QuorvaneAlertPopup";
// Text layout of the message: wrapped at words, cut with an ellipsis.
const UINT kMessageFormat = DT_WORDBREAK | DT_VCENTER | DT_INTERNAL | DT_EDITCONTROL | DT_END_ELLIPSIS;
const UINT kPlacementFlags = SWP_NOACTIVATE | SWP_NOSENDCHANGING;
const COLORREF kImportanceColour = 0xFF0000;  // blue

Rect WorkArea() {
    RECT area = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return Rect{area.left, area.top, area.right, area.bottom};
}

RECT ToRECT(const Rect& rect) { return RECT{rect.left, rect.top, rect.right, rect.bottom}; }

POINT PointOf(LPARAM lParam) { return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

SIZE MeasureText(HDC dc, const std::string& text) {
    SIZE size = {};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

void StretchWhole(HDC target, const RECT& to, HBITMAP bitmap) {
    if (!bitmap) return;
    BITMAP info = {};
    GetObjectA(bitmap, sizeof info, &info);
    MemoryDc source(target);
    Selection selected(source.Get(), bitmap);
    StretchBlt(target, to.left, to.top, to.right - to.left, to.bottom - to.top, source.Get(), 0, 0,
               info.bmWidth, info.bmHeight, SRCCOPY);
}

// The window's font: 9 points of the Song face.
HFONT CreatePopupFont(HDC dc) {
    LOGFONTA font = {};
    font.lfHeight = -MulDiv(GetDeviceCaps(dc, LOGPIXELSY), 90, 720);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = GB2312_CHARSET;
    std::strcpy(font.lfFaceName, POPUP_FONT_FACE);
    return CreateFontIndirectA(&font);
}

}  // namespace

CPopupMsgWnd::CPopupMsgWnd() : m_strTitle(POPUP_TITLE) { std::memset(&m_cur, 0, sizeof m_cur); }

CPopupMsgWnd::~CPopupMsgWnd() {
    // The window procedure lives in this library: the window must not
    // outlive it, nor the class that names it.
    if (m_hWnd && IsWindow(m_hWnd)) DestroyWindow(m_hWnd);
    if (m_classRegistered) UnregisterClassA(kWindowClassName, LibraryModule());
}

bool CPopupMsgWnd::Create(HWND notifyWnd) {
    m_hNotifyWnd = notifyWnd;
    if (m_hWnd) return true;  // one window for the library's lifetime

    if (!m_classRegistered) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = WindowProc;
        windowClass.hInstance = LibraryModule();
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BACKGROUND + 1);
        windowClass.lpszClassName = kWindowClassName;
        m_classRegistered = RegisterClassA(&windowClass) != 0;
        if (!m_classRegistered) return false;
    }
    HWND hwnd = CreateWindowExA(0, kWindowClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                LibraryModule(), this);
    if (!hwnd) return false;
    LONG_PTR exStyle = GetWindowLongPtrA(hwnd, GWL_EXSTYLE);
    SetWindowLongPtrA(hwnd, GWL_EXSTYLE, (exStyle & ~WS_EX_APPWINDOW) | WS_EX_TOOLWINDOW);
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    return true;
}

LRESULT CALLBACK CPopupMsgWnd::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CPopupMsgWnd* self = nullptr;
    if (message == WM_NCCREATE) {
        self = static_cast<CPopupMsgWnd*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->m_hWnd = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<CPopupMsgWnd*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->m_hWnd = nullptr;
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    return self->OnMessage(message, wParam, lParam);
}

LRESULT CPopupMsgWnd::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CPopupMsgWnd::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return OnCreate(wParam, lParam);
    case WM_SIZE:
        Default(message, wParam, lParam);
        OnSize(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        return 0;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_TIMER:
        OnTimer(wParam);
        return Default(message, wParam, lParam);
    case WM_NCHITTEST:
        return OnNcHitTest(wParam, lParam);
    case WM_SETCURSOR:
        return OnSetCursor(wParam, lParam);
    case WM_MOUSEMOVE:
        OnMouseMove(PointOf(lParam));
        return Default(message, wParam, lParam);
    case WM_MOUSELEAVE:
        OnMouseLeave();
        return 0;
    case WM_LBUTTONUP:
        OnLButtonUp(PointOf(lParam));
        return Default(message, wParam, lParam);
    default:
        return Default(message, wParam, lParam);
    }
}

LRESULT CPopupMsgWnd::OnCreate(WPARAM wParam, LPARAM lParam) {
    if (Default(WM_CREATE, wParam, lParam) == -1) return -1;
    HINSTANCE module = LibraryModule();
    m_bmpBack.Reset(LoadBitmapA(module, MAKEINTRESOURCEA(IDB_POPUP_BACKGROUND)));
    m_bmpCloseHot.Reset(LoadBitmapA(module, MAKEINTRESOURCEA(IDB_POPUP_CLOSE_HOT)));
    m_tip.Create(m_hWnd, POPUP_TOOLTIP, m_rcBody);
    return 0;
}

void CPopupMsgWnd::OnSize(int cx, int cy) {
    if (cx <= 0 || cy <= 0) return;  // a window sized to nothing keeps its areas
    PopupAreas areas = PopupAreasForSize(cx, cy);
    m_rcCaption = areas.caption;
    m_rcClose = areas.close;
    m_rcBody = areas.body;
    m_tip.SetArea(Rect{0, 0, cx, cy});
}

void CPopupMsgWnd::ShowNext() {
    if (!m_hWnd || !m_queue.TakeFront(&m_cur)) return;
    m_nHeight = kPopupFullHeight;
    PlaceAtCorner(WorkArea());
    // A record replacing one shown at the same place exposes nothing, so the
    // whole window is repainted for the new record.
    InvalidateRect(m_hWnd, nullptr, FALSE);
    UpdateWindow(m_hWnd);
    KillTimer(m_hWnd, TIMER_SLIDE);
    SetTimer(m_hWnd, TIMER_HOLD, kHoldInterval, nullptr);
}

void CPopupMsgWnd::Place(int x, int y, int width, int height) {
    SetWindowPos(m_hWnd, HWND_TOPMOST, x, y, width, height, kPlacementFlags);
}

void CPopupMsgWnd::PlaceAtCorner(const Rect& workArea) {
    Placement at = CornerPlacement(workArea, m_nHeight);
    Place(at.x, at.y, at.width, at.height);
}

void CPopupMsgWnd::OnTimer(UINT_PTR id) {
    // Asked on every tick, so a task bar that moves is followed while sinking.
    Rect workArea = WorkArea();
    switch (id) {
    case TIMER_NEXT:
        KillTimer(m_hWnd, TIMER_NEXT);
        ShowNext();
        break;
    case TIMER_SLIDE:
        if (m_nHeight > 0) {
            --m_nHeight;
            PlaceAtCorner(workArea);
            UpdateWindow(m_hWnd);
        } else {
            KillTimer(m_hWnd, TIMER_SLIDE);
            SetTimer(m_hWnd, TIMER_NEXT, kNextInterval, nullptr);
        }
        break;
    case TIMER_HOLD:
        KillTimer(m_hWnd, TIMER_HOLD);
        SetTimer(m_hWnd, TIMER_SLIDE, kSlideInterval, nullptr);
        break;
    default:
        break;
    }
}

void CPopupMsgWnd::OnPaint() {
    PaintScope paint(m_hWnd);
    RECT client = {};
    GetClientRect(m_hWnd, &client);
    DrawAlert(paint.Dc(), client);
}

void CPopupMsgWnd::DrawAlert(HDC dc, const RECT& client) {
    StretchWhole(dc, client, m_bmpBack.Get());
    if (m_bCloseHot) StretchWhole(dc, ToRECT(m_rcClose), m_bmpCloseHot.Get());

    GdiObject<HFONT> font(CreatePopupFont(dc));
    Selection selectedFont(dc, font.Get());
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, TRANSPARENT);

    TextOutA(dc, 30, 8, m_strTitle.c_str(), static_cast<int>(m_strTitle.size()));

    std::string time = AlertTimeText(m_cur.sTime);
    RECT timeLine = ToRECT(TimeLineRect(m_rcBody, MeasureText(dc, time).cy));
    DrawTextA(dc, time.c_str(), static_cast<int>(time.size()), &timeLine, DT_SINGLELINE | DT_VCENTER);

    Rect timeRect{timeLine.left, timeLine.top, timeLine.right, timeLine.bottom};
    RECT message = ToRECT(MessageRect(m_rcBody, timeRect));
    DrawTextA(dc, m_cur.sText, -1, &message, kMessageFormat);

    const std::string label = POPUP_IMPORTANCE_LABEL;
    SIZE labelSize = MeasureText(dc, label);
    Rect labelRect = ImportanceLabelRect(m_rcBody, labelSize.cx, labelSize.cy);
    RECT labelArea = ToRECT(labelRect);
    SetTextColor(dc, kImportanceColour);
    DrawTextA(dc, label.c_str(), static_cast<int>(label.size()), &labelArea, DT_SINGLELINE | DT_VCENTER);

    if (m_cur.nLevel <= 0) return;
    IconHandle icon(static_cast<HICON>(LoadImageA(LibraryModule(), MAKEINTRESOURCEA(IDI_POPUP_IMPORTANCE),
                                                  IMAGE_ICON, kImportanceIconSize, kImportanceIconSize,
                                                  LR_DEFAULTCOLOR)));
    if (!icon.Get()) return;
    for (int i = 0; i < m_cur.nLevel; ++i) {
        int x = 0, y = 0;
        ImportanceIconOrigin(labelRect, i, &x, &y);
        if (x >= client.right) break;  // the rest would fall beyond the window's edge
        DrawIconEx(dc, x, y, icon.Get(), kImportanceIconSize, kImportanceIconSize, 0, nullptr,
                   DI_NORMAL | DI_COMPAT);
    }
}

LRESULT CPopupMsgWnd::OnNcHitTest(WPARAM wParam, LPARAM lParam) {
    POINT point = PointOf(lParam);
    ScreenToClient(m_hWnd, &point);
    if (m_rcCaption.Contains(point.x, point.y)) return HTCAPTION;
    if (m_rcBody.Contains(point.x, point.y)) return HTCLIENT;
    return Default(WM_NCHITTEST, wParam, lParam);
}

LRESULT CPopupMsgWnd::OnSetCursor(WPARAM wParam, LPARAM lParam) {
    if (LOWORD(lParam) == HTCLIENT) {
        SetCursor(LoadCursorA(LibraryModule(), MAKEINTRESOURCEA(IDC_POPUP_HAND)));
        return TRUE;
    }
    return Default(WM_SETCURSOR, wParam, lParam);
}

void CPopupMsgWnd::OnMouseMove(POINT point) {
    KillTimer(m_hWnd, TIMER_HOLD);  // the alert stays while the pointer is on it
    if (!m_bTracking) {
        m_bTracking = true;
        TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, m_hWnd, 0};
        _TrackMouseEvent(&track);
    }
    if (m_tip.Exists() && m_rcBody.Contains(point.x, point.y)) m_tip.RelayMouseMove(point);
    bool overClose = m_rcClose.Contains(point.x, point.y);
    if (overClose != m_bCloseHot) {
        m_bCloseHot = overClose;
        RepaintCloseButton();
    }
}

void CPopupMsgWnd::OnMouseLeave() {
    m_bTracking = false;
    if (m_nHeight == kPopupFullHeight) SetTimer(m_hWnd, TIMER_HOLD, kHoldInterval, nullptr);
    if (m_bCloseHot) {
        m_bCloseHot = false;
        RepaintCloseButton();
    }
}

void CPopupMsgWnd::RepaintCloseButton() {
    RECT close = ToRECT(m_rcClose);
    InvalidateRect(m_hWnd, &close, TRUE);
    UpdateWindow(m_hWnd);
}

void CPopupMsgWnd::OnLButtonUp(POINT point) {
    m_nHeight = 0;
    KillTimer(m_hWnd, TIMER_SLIDE);
    if (m_rcBody.Contains(point.x, point.y) && m_hNotifyWnd) {
        // The window is still on screen while the client handles the click.
        SendMessageA(m_hNotifyWnd, WM_POPUPMSG_CLICKED, static_cast<WPARAM>(m_cur.nID),
                     reinterpret_cast<LPARAM>(m_cur.sText));
    }
    Place(0, 0, 0, 0);
    SetTimer(m_hWnd, TIMER_NEXT, kNextInterval, nullptr);
}
