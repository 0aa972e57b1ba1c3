#include "PopupMsgWnd.h"

#include <commctrl.h>
#include <windowsx.h>

#include <cstring>

#include "AlertTimeText.h"
#include "PopupResources.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

// Fixed texts, as the GB2312 bytes the ANSI drawing functions expect.
const char kTitle[] = "Quorvane - Tidvane";
const char kTooltipText[] = "\xB5\xE3\xBB\xF7\xB2\xE9\xBF\xB4\xCF\xEA\xC7\xE9";  // 点击查看详情
const char kFontFace[] = "\xCB\xCE\xCC\xE5";                                          // 宋体
const char kImportanceLabel[] = "\xD6\xD8\xD2\xAA\xB3\xCC\xB6\xC8\x3A\x20";          // "重要程度: "

const char kWindowClassName[] = "QuorvaneAlertPopup";
// Text layout of the message: wrapped at words, cut with an ellipsis.
const UINT kMessageFormat = DT_WORDBREAK | DT_VCENTER | DT_INTERNAL | DT_EDITCONTROL | DT_END_ELLIPSIS;
const UINT kPlacementFlags = SWP_NOACTIVATE | SWP_NOSENDCHANGING;
const COLORREF kImportanceColour = 0xFF0000;  // blue

// The module of this library: the source of every bitmap, icon and cursor
// the window loads, whichever module called into the library.
HINSTANCE LibraryModule() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

UINT IntervalOf(CPopupMsgWnd::Timer timer) {
    switch (timer) {
    case CPopupMsgWnd::kGapBeforeNextAlert:
        return 1000;
    case CPopupMsgWnd::kSinkStep:
        return 20;
    case CPopupMsgWnd::kHoldAtFullSize:
        return 5000;
    }
    return 0;
}

// The client may free the library while the window stands, from any thread,
// but a window can only be destroyed on its own thread, and its procedure
// must not be unmapped before it is gone. Once it has made its window the
// library therefore stays loaded to the end of the process; the client loads
// it once, for the whole of its run.
void KeepLibraryLoaded() {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCSTR>(&__ImageBase), &module);
}

bool RegisterWindowClass(WNDPROC procedure) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = LibraryModule();
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BACKGROUND + 1);
    windowClass.lpszClassName = kWindowClassName;
    // Still there when the last window went a moment ago and the thread has
    // not yet come to unregister it.
    return RegisterClassA(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// A class can only be unregistered once its last window is wholly gone,
// after WM_NCDESTROY has returned: a timer of the thread does it at the
// thread's next message, unless a new window has been made since.
void CALLBACK UnregisterWindowClass(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    if (!CPopupMsgWnd::Existing()) UnregisterClassA(kWindowClassName, LibraryModule());
}

// The client's window owns the popup when it is a window of this thread, so
// that the popup goes with it.
HWND OwnerFor(HWND notifyWnd) {
    if (!notifyWnd || GetWindowThreadProcessId(notifyWnd, nullptr) != GetCurrentThreadId()) return nullptr;
    return notifyWnd;
}

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
    std::strcpy(font.lfFaceName, kFontFace);
    return CreateFontIndirectA(&font);
}

}  // namespace

CPopupMsgWnd* CPopupMsgWnd::s_pOpen = nullptr;

CPopupMsgWnd::CPopupMsgWnd(HWND notifyWnd) : m_hNotifyWnd(notifyWnd), m_strTitle(kTitle) {
    std::memset(&m_cur, 0, sizeof m_cur);
    s_pOpen = this;
}

CPopupMsgWnd::~CPopupMsgWnd() { s_pOpen = nullptr; }

CPopupMsgWnd* CPopupMsgWnd::Open(HWND notifyWnd) {
    if (s_pOpen) {
        s_pOpen->m_hNotifyWnd = notifyWnd;  // one window at a time
        return s_pOpen;
    }
    KeepLibraryLoaded();
    if (!RegisterWindowClass(WindowProc)) return nullptr;
    CPopupMsgWnd* popup = new CPopupMsgWnd(notifyWnd);
    HWND hwnd = CreateWindowExA(0, kWindowClassName, "", WS_POPUP, 0, 0, 0, 0, OwnerFor(notifyWnd), nullptr,
                                LibraryModule(), popup);
    if (!hwnd) {
        // A window that was refused after WM_NCCREATE has deleted its object.
        if (s_pOpen == popup) delete popup;
        return nullptr;
    }
    LONG_PTR exStyle = GetWindowLongPtrA(hwnd, GWL_EXSTYLE);
    SetWindowLongPtrA(hwnd, GWL_EXSTYLE, (exStyle & ~WS_EX_APPWINDOW) | WS_EX_TOOLWINDOW);
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    return popup;
}

LRESULT CALLBACK CPopupMsgWnd::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CPopupMsgWnd* self = nullptr;
    if (message == WM_NCCREATE) {
        // From here on the window owns the object.
        self = static_cast<CPopupMsgWnd*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->m_hWnd = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<CPopupMsgWnd*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        delete self;
        SetTimer(nullptr, 0, 0, UnregisterWindowClass);
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
    case WM_SHOWWINDOW:
        // The system hides an owned window while its owner is minimised; the
        // alerts go on showing, as they do without an owner.
        if (lParam != 0) return 0;
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
    m_tip.Create(m_hWnd, kTooltipText, m_rcBody);
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
    Stop(kSinkStep);
    Start(kHoldAtFullSize);
}

void CPopupMsgWnd::Start(Timer timer) { SetTimer(m_hWnd, timer, IntervalOf(timer), nullptr); }

void CPopupMsgWnd::Stop(Timer timer) { KillTimer(m_hWnd, timer); }

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
    case kGapBeforeNextAlert:
        Stop(kGapBeforeNextAlert);
        ShowNext();
        break;
    case kSinkStep:
        if (m_nHeight > 0) {
            --m_nHeight;
            PlaceAtCorner(workArea);
            UpdateWindow(m_hWnd);
        } else {
            Stop(kSinkStep);
            Start(kGapBeforeNextAlert);
        }
        break;
    case kHoldAtFullSize:
        Stop(kHoldAtFullSize);
        Start(kSinkStep);
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

    const std::string label = kImportanceLabel;
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
    Stop(kHoldAtFullSize);  // the alert stays while the pointer is on it
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
    if (m_nHeight == kPopupFullHeight) Start(kHoldAtFullSize);
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
    Stop(kSinkStep);
    if (m_rcBody.Contains(point.x, point.y) && m_hNotifyWnd) {
        // The window is still on screen while the client handles the click.
        SendMessageA(m_hNotifyWnd, WM_POPUPMSG_CLICKED, static_cast<WPARAM>(m_cur.nID),
                     reinterpret_cast<LPARAM>(m_cur.sText));
    }
    Place(0, 0, 0, 0);
    Start(kGapBeforeNextAlert);
}
