// Entry point of Koravel.exe, a windowed program. Trace lines go to standard
// output, which reaches a file or pipe when the starter redirected it.
#include <windows.h>

#include <cstdio>

#include "app/Startup.h"

namespace {

// The command-line text after the program name, leading blanks removed.
const char* ModeText() {
    const char* text = GetCommandLineA();
    if (*text == '"') {
        ++text;
        while (*text && *text != '"') ++text;
        if (*text) ++text;
    } else {
        while (*text && *text != ' ' && *text != '\t') ++text;
    }
    while (*text == ' ' || *text == '\t') ++text;
    return text;
}

// A windowed program keeps the standard output it was given; line by line,
// so that the trace is complete even when the process is ended from outside.
void KeepTraceLinesFlowing() {
    HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    if (output == nullptr || output == INVALID_HANDLE_VALUE) return;
    setvbuf(stdout, nullptr, _IONBF, 0);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    KeepTraceLinesFlowing();
    return RunUpdater(ModeText());
}
