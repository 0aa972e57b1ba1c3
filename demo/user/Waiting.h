// Bounded waiting: every wait of the demonstration ends after its time-out.
#pragma once

#include <windows.h>

// Polls the condition, keeping this thread's messages flowing, until it holds
// or the time-out has passed. Returns whether it held.
template <typename Condition>
bool WaitFor(Condition condition, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        Sleep(50);
    }
}

// Lets windows of other processes finish painting before a picture is taken.
inline void Settle(DWORD milliseconds = 600) { WaitFor([] { return false; }, milliseconds); }
