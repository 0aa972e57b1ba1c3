#include "window/CurrentMessage.h"

namespace {
thread_local CurrentMessageRecord t_current;
}

const CurrentMessageRecord& CurrentMessage() { return t_current; }

CurrentMessageScope::CurrentMessageScope(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) : m_saved(t_current) {
    t_current.hwnd = hwnd;
    t_current.message = message;
    t_current.wParam = wParam;
    t_current.lParam = lParam;
}

CurrentMessageScope::~CurrentMessageScope() { t_current = m_saved; }
