#include "window/CSubclassWnd.h"

#include <map>

#include "window/CurrentMessage.h"

namespace {

// Window -> newest hook. Created on first use, destroyed at program exit.
std::map<HWND, CSubclassWnd*>& HookMap() {
    static std::map<HWND, CSubclassWnd*> map;
    return map;
}

}  // namespace

LRESULT CALLBACK SubclassHookProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    CurrentMessageScope scope(hWnd, msg, wParam, lParam);
    CSubclassWnd* head = FindHook(hWnd);
    if (!head) return DefWindowProcA(hWnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        // The window is going: every hook lets go of it before its own
        // earlier procedure sees the last message.
        WNDPROC original = head->m_pOldWndProc;
        while (CSubclassWnd* hook = FindHook(hWnd)) hook->HookWnd(nullptr);
        return CallWindowProcA(original, hWnd, msg, wParam, lParam);
    }
    return head->WindowProc(msg, wParam, lParam);
}

CSubclassWnd* FindHook(HWND hWnd) {
    auto& map = HookMap();
    auto found = map.find(hWnd);
    return found == map.end() ? nullptr : found->second;
}

CSubclassWnd::~CSubclassWnd() { Unhook(); }

BOOL CSubclassWnd::HookWnd(HWND hWnd) {
    if (m_hWnd) Remove();
    if (hWnd) {
        auto& map = HookMap();
        CSubclassWnd* older = FindHook(hWnd);
        m_pNext = older;
        map[hWnd] = this;
        if (older) {
            m_pOldWndProc = older->m_pOldWndProc;
        } else {
            m_pOldWndProc = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassHookProc)));
        }
    }
    m_hWnd = hWnd;
    return TRUE;
}

void CSubclassWnd::Unhook() {
    if (m_hWnd) HookWnd(nullptr);
}

void CSubclassWnd::Remove() {
    auto& map = HookMap();
    CSubclassWnd* head = FindHook(m_hWnd);
    if (head == this) {
        if (m_pNext) {
            map[m_hWnd] = m_pNext;
        } else {
            map.erase(m_hWnd);
            SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pOldWndProc));
        }
    } else {
        for (CSubclassWnd* hook = head; hook; hook = hook->m_pNext) {
            if (hook->m_pNext == this) {
                hook->m_pNext = m_pNext;
                break;
            }
        }
    }
    m_pNext = nullptr;
    m_pOldWndProc = nullptr;
    m_hWnd = nullptr;
}

LRESULT CSubclassWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (m_pNext) return m_pNext->WindowProc(msg, wParam, lParam);
    return CallWindowProcA(m_pOldWndProc, m_hWnd, msg, wParam, lParam);
}

LRESULT CSubclassWnd::Default() {
    const CurrentMessageRecord& current = CurrentMessage();
    return CSubclassWnd::WindowProc(current.message, current.wParam, current.lParam);
}
