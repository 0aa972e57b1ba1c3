#include "tray/CTrayIcon.h"

#include <shellapi.h>

#include <cstring>

#include "app/ResourceSource.h"

namespace {

void LoadTip(UINT id, CHAR (&tip)[64]) {
    std::memset(tip, 0, sizeof tip);
    LoadStringA(ResourceModule(), id, tip, sizeof tip);
}

// Destroys a loaded menu when the tray handler is done with it.
class LoadedMenu {
public:
    explicit LoadedMenu(HMENU menu) : m_menu(menu) {}
    ~LoadedMenu() {
        if (m_menu) DestroyMenu(m_menu);
    }
    LoadedMenu(const LoadedMenu&) = delete;
    LoadedMenu& operator=(const LoadedMenu&) = delete;
    HMENU get() const { return m_menu; }

private:
    HMENU m_menu;
};

}  // namespace

LRESULT CTrayNotifyHook::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (m_pOwner) {
        if (msg == m_pOwner->m_nid.uCallbackMessage && hookedWindow() == m_pOwner->m_nid.hWnd) {
            m_pOwner->OnTrayNotify(wParam, lParam);
        } else if (msg == TaskbarCreatedMessage()) {
            m_pOwner->OnTaskbarCreated(wParam, lParam);
        }
    }
    return CSubclassWnd::WindowProc(msg, wParam, lParam);
}

CTrayIcon::CTrayIcon(UINT uID, NotifyArea& shell) : m_shell(shell) {
    std::memset(&m_nid, 0, sizeof m_nid);
    m_nid.cbSize = sizeof m_nid;
    m_nid.uID = uID;
    LoadTip(uID, m_nid.szTip);
    m_notifyHook.SetOwner(this);
    m_parentHook.SetOwner(this);
}

CTrayIcon::~CTrayIcon() {
    SetIconId(0);
    m_parentHook.Unhook();
    m_notifyHook.Unhook();
}

void CTrayIcon::SetNotifyWnd(HWND hWnd, UINT uCbMsg) {
    m_nid.hWnd = hWnd;
    m_nid.uCallbackMessage = uCbMsg;
    m_notifyHook.HookWnd(hWnd);
    HWND topLevel = hWnd ? GetAncestor(hWnd, GA_ROOT) : nullptr;
    if (topLevel && topLevel != hWnd) m_parentHook.HookWnd(topLevel);
}

BOOL CTrayIcon::SetIconId(UINT uID) {
    if (!uID) return SetIconHandle(nullptr, nullptr);
    LoadTip(uID, m_nid.szTip);
    HICON icon = LoadIconA(ResourceModule(), MAKEINTRESOURCEA(uID));
    return SetIconHandle(icon, nullptr);
}

BOOL CTrayIcon::SetIconHandle(HICON hIcon, LPCSTR lpTip) {
    DWORD operation = NIM_DELETE;
    m_nid.uFlags = 0;
    if (hIcon) {
        operation = m_nid.hIcon ? NIM_MODIFY : NIM_ADD;
        m_nid.hIcon = hIcon;
        m_nid.uFlags = NIF_ICON;
    } else if (!m_nid.hIcon) {
        return TRUE;  // nothing shown, nothing to remove
    }
    if (lpTip) {
        std::memset(m_nid.szTip, 0, sizeof m_nid.szTip);
        strncpy(m_nid.szTip, lpTip, sizeof m_nid.szTip - 1);
    }
    if (m_nid.szTip[0]) m_nid.uFlags |= NIF_TIP;
    if (m_nid.uCallbackMessage && m_nid.hWnd) m_nid.uFlags |= NIF_MESSAGE;

    BOOL result = m_shell.Notify(operation, m_nid);
    if (operation == NIM_DELETE || !result) m_nid.hIcon = nullptr;
    return result;
}

LRESULT CTrayIcon::OnTrayNotify(WPARAM wID, LPARAM lEvent) {
    if (wID != m_nid.uID || (lEvent != WM_RBUTTONUP && lEvent != WM_LBUTTONDBLCLK)) return 0;
    LoadedMenu menu(LoadMenuA(ResourceModule(), MAKEINTRESOURCEA(m_nid.uID)));
    if (!menu.get()) return 0;
    HMENU popup = GetSubMenu(menu.get(), 0);
    if (!popup) return 0;

    if (lEvent == WM_RBUTTONUP) {
        SetMenuDefaultItem(popup, 0, TRUE);
        POINT pointer;
        GetCursorPos(&pointer);
        SetForegroundWindow(m_nid.hWnd);
        TrackPopupMenu(popup, TPM_LEFTBUTTON, pointer.x, pointer.y, 0, m_nid.hWnd, nullptr);
    } else {
        SendMessageA(m_nid.hWnd, WM_COMMAND, GetMenuItemID(popup, 0), 0);
    }
    return 1;
}

LRESULT CTrayIcon::OnTaskbarCreated(WPARAM, LPARAM) {
    HICON icon = m_nid.hIcon;
    m_nid.hIcon = nullptr;
    if (icon) SetIconHandle(icon, nullptr);
    return 0;
}
