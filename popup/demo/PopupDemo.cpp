// Shows the alerts of data\refer.xml beside this program the way the client
// does, and keeps the message loop running for the given number of
// milliseconds (default 4000), so the alert can be looked at.
#include <windows.h>

#include <cstdlib>

namespace {

LRESULT CALLBACK ClientProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, message, wParam, lParam);
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

    HMODULE library = LoadLibraryA("TDVN.dll");
    if (!library) return 1;
    typedef int(__cdecl * InitFunction)(HWND);
    typedef int(__cdecl * PopupFunction)();
    auto init = reinterpret_cast<InitFunction>(reinterpret_cast<void*>(GetProcAddress(library, "TDVN_Init")));
    auto popup =
        reinterpret_cast<PopupFunction>(reinterpret_cast<void*>(GetProcAddress(library, "TDVN_PopupMsgWnd")));
    if (!init || !popup) return 1;
    init(client);
    popup();

    DWORD start = GetTickCount();
    while (GetTickCount() - start < duration) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    FreeLibrary(library);
    DestroyWindow(client);
    return 0;
}
