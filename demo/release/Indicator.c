/* A small library of the sample release. Its two builds differ only in the
 * version resource, which is what the updater compares for a .dll. */
#include <windows.h>

__declspec(dllexport) const char* __cdecl IndicatorRelease(void) { return INDICATOR_VERSION_TEXT; }

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)instance;
    (void)reason;
    (void)reserved;
    return TRUE;
}
