// A client that frees TDVN.dll while an alert is up, or closes its window
// first, as one of the scenarios below (the first argument names it). It
// ends with 0 when the library's window was torn down on its own thread and
// never inside the unload; else it says what went wrong and ends with 1.
// A hang is the caller's to catch.
//
//   freed-elsewhere  FreeLibrary on another thread, while the window's
//                    thread waits for it without taking messages
//   freed-here       FreeLibrary on the window's thread
//   client-closed    the client's window is destroyed, then the library freed
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "PopupHost.h"

namespace {

const UINT_PTR kTimerSlide = 11, kTimerHold = 12;

void Fail(const char* what) {
    std::fprintf(stderr, "popup_unload_host: %s\n", what);
    std::fflush(stderr);
    // Not ExitProcess: a thread may still hold the loader lock.
    TerminateProcess(GetCurrentProcess(), 1);
}

void Expect(bool condition, const char* what) {
    if (!condition) Fail(what);
}

DWORD WINAPI FreeLibraryThread(void* module) {
    FreeLibrary(static_cast<HMODULE>(module));
    return 0;
}

void PumpFor(DWORD milliseconds) {
    PumpUntil(milliseconds, [] { return false; });
}

void FreeWhileAnAlertIsUp(const std::string& scenario, HMODULE library, HWND popup) {
    if (scenario == "freed-elsewhere") {
        HANDLE thread = CreateThread(nullptr, 0, FreeLibraryThread, library, 0, nullptr);
        Expect(thread != nullptr, "no thread to free the library on");
        Expect(WaitForSingleObject(thread, 10000) == WAIT_OBJECT_0,
               "FreeLibrary on another thread did not return while the window's thread waited");
        CloseHandle(thread);
    } else {
        FreeLibrary(library);
    }
    Expect(IsWindow(popup) != FALSE, "the window was destroyed inside FreeLibrary, under the loader lock");
    RECT rect = WindowRect(popup);
    Expect(rect.bottom - rect.top == 145, "the alert left the screen when the library was freed");
    // The alert goes on through its cycle: its procedure is still there.
    SendMessageA(popup, WM_TIMER, kTimerHold, 0);
    SendMessageA(popup, WM_TIMER, kTimerSlide, 0);
    PumpFor(300);
    rect = WindowRect(popup);
    Expect(IsWindow(popup) && rect.bottom - rect.top < 145, "the alert stopped sinking after the library was freed");
}

}  // namespace

int main(int argc, char** argv) {
    const std::string scenario = argc > 1 ? argv[1] : "";
    if (scenario != "freed-elsewhere" && scenario != "freed-here" && scenario != "client-closed") {
        Fail("usage: popup_unload_host freed-elsewhere|freed-here|client-closed");
    }

    NotifyWindow client;
    HMODULE library = LoadLibraryA("TDVN.dll");
    Expect(library != nullptr, "TDVN.dll did not load");
    auto init = reinterpret_cast<int(__cdecl*)(HWND)>(reinterpret_cast<void*>(GetProcAddress(library, "TDVN_Init")));
    auto show = reinterpret_cast<int(__cdecl*)()>(reinterpret_cast<void*>(GetProcAddress(library, "TDVN_PopupMsgWnd")));
    Expect(init && show, "TDVN.dll lacks its exports");

    Expect(WriteReferFile("<?xml version=\"1.0\"?><xml xmlns:rs=\"urn:rowset\" xmlns:z=\"#RowsetSchema\"><rs:data>"
                          "<z:row c0=\"1\" c1=\"t\" c2=\"one\" c3=\"1\"/><z:row c0=\"2\" c1=\"t\" c2=\"two\" c3=\"1\"/>"
                          "</rs:data></xml>"),
           "data\\refer.xml could not be written");
    init(client.Handle());
    show();
    DeleteReferFile();
    HWND popup = FindPopupWindow(library);
    Expect(popup != nullptr, "no alert window after TDVN_Init");
    HWND tooltip = FindTooltipOf(popup);
    char className[64] = {};
    GetClassNameA(popup, className, sizeof className);
    Expect(WindowRect(popup).bottom - WindowRect(popup).top == 145, "the first alert is not up");

    if (scenario != "client-closed") FreeWhileAnAlertIsUp(scenario, library, popup);

    client.Destroy();
    Expect(!IsWindow(popup), "the alert window outlived the client's window");
    Expect(!tooltip || !IsWindow(tooltip), "the alert's tooltip outlived the client's window");
    // The class goes once its window is wholly gone, at the thread's next messages.
    PumpFor(200);
    WNDCLASSEXA info = {};
    info.cbSize = sizeof info;
    Expect(!GetClassInfoExA(library, className, &info), "the alert window's class is still registered");

    if (scenario == "client-closed") FreeLibrary(library);
    return 0;
}
