// The message that the calling thread is handling now. Window procedures of
// the toolkit make their message current while they handle it, so that
// default processing, wherever it is asked for, refers to that message.
#pragma once

#include <windows.h>

struct CurrentMessageRecord {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

const CurrentMessageRecord& CurrentMessage();

// Makes a message current for the lifetime of the scope and restores the
// previous one afterwards (messages nest when handlers send messages).
class CurrentMessageScope {
public:
    CurrentMessageScope(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    ~CurrentMessageScope();
    CurrentMessageScope(const CurrentMessageScope&) = delete;
    CurrentMessageScope& operator=(const CurrentMessageScope&) = delete;

private:
    CurrentMessageRecord m_saved;
};
