// Shows the alerts of data\refer.xml beside this program the way the client
// does, and keeps the message loop running for the given number of
// milliseconds (default 4000), so the alert can be looked at.
#include <windows.h>

#include <cstdlib>

#include "TdvnLibrary.h"

namespace {

LRESULT CALLBACK ClientProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void PumpMessagesFor(DWORD duration) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < duration) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

}  // namespace

int main(int argc, char** argv) {
    DWORD duration = argc > 1 ? static_cast<DWORD>(std::atoi(argv[1])) : 4000;

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = ClientProcedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "PopupDemoClient";
    RegisterClassA(&windowClass);
    HWND client = CreateWindowExA(0, windowClass.lpszClassName, "client", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                  nullptr, nullptr, windowClass.hInstance, nullptr);

    {
        TdvnLibrary library;
        if (!library.Loaded()) return 1;
        library.Init(client);
        library.PopupMsgWnd();
        PumpMessagesFor(duration);
    }  // the library is unloaded before the window it reports to goes
    DestroyWindow(client);
    return 0;
}
