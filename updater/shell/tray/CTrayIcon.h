// The updater's icon in the notification area, with its menu (show / hide)
// and its return after the shell has recreated the task bar. It watches the
// notification window through hooks, so that window needs no code for it.
#pragma once

#include <windows.h>

#include "window/CSubclassWnd.h"
#include "tray/NotifyArea.h"

class CTrayIcon;

class CTrayNotifyHook : public CSubclassWnd {
public:
    void SetOwner(CTrayIcon* owner) { m_pOwner = owner; }
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    CTrayIcon* m_pOwner = nullptr;
};

class CTrayIcon {
public:
    explicit CTrayIcon(UINT uID, NotifyArea& shell = NotifyArea::Shell());
    virtual ~CTrayIcon();
    CTrayIcon(const CTrayIcon&) = delete;
    CTrayIcon& operator=(const CTrayIcon&) = delete;

    void SetNotifyWnd(HWND hWnd, UINT uCbMsg);
    BOOL SetIconId(UINT uID);
    BOOL SetIconHandle(HICON hIcon, LPCSTR lpTip);

    virtual LRESULT OnTrayNotify(WPARAM wID, LPARAM lEvent);
    virtual LRESULT OnTaskbarCreated(WPARAM wParam, LPARAM lParam);

private:
    friend class CTrayNotifyHook;

    NotifyIconRecord m_nid;
    CTrayNotifyHook m_notifyHook;
    CTrayNotifyHook m_parentHook;
    NotifyArea& m_shell;
};
