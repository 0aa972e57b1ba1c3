#include "AlertTooltip.h"

#include <commctrl.h>

namespace {
const UINT_PTR kToolId = 1;
}

AlertTooltip::~AlertTooltip() {
    // Destroying the owner destroys the control too; only a control still
    // standing is destroyed here.
    if (m_hTip && IsWindow(m_hTip)) DestroyWindow(m_hTip);
}

TOOLINFOA AlertTooltip::ToolInfo() const {
    TOOLINFOA info = {};
    // The size the common controls of every version accept.
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.hwnd = m_hOwner;
    info.uId = kToolId;
    return info;
}

bool AlertTooltip::Create(HWND owner, const char* text, const Rect& area) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    m_hTip = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner,
                           nullptr, nullptr, nullptr);
    if (!m_hTip) return false;
    m_hOwner = owner;
    SendMessageA(m_hTip, TTM_ACTIVATE, TRUE, 0);
    TOOLINFOA info = ToolInfo();
    // No subclassing: the window relays its own pointer moves.
    info.uFlags = 0;
    info.lpszText = const_cast<char*>(text);
    info.rect = RECT{area.left, area.top, area.right, area.bottom};
    SendMessageA(m_hTip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
    return true;
}

void AlertTooltip::SetArea(const Rect& area) {
    if (!m_hTip) return;
    TOOLINFOA info = ToolInfo();
    info.rect = RECT{area.left, area.top, area.right, area.bottom};
    SendMessageA(m_hTip, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&info));
}

void AlertTooltip::RelayMouseMove(POINT point) {
    if (!m_hTip) return;
    MSG message = {};
    message.hwnd = m_hOwner;
    message.message = WM_MOUSEMOVE;
    message.pt = point;
    SendMessageA(m_hTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
}
