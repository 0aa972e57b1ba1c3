#include "install/ClientLauncher.h"

#include <shellapi.h>

#include "install/ClientFiles.h"

KernelHandle RunProgram(HWND owner, const char* file, const char* parameters) {
    SHELLEXECUTEINFOA execute = {};
    execute.cbSize = sizeof execute;
    execute.fMask = SEE_MASK_NOCLOSEPROCESS;
    execute.hwnd = owner;
    execute.lpVerb = "open";
    execute.lpFile = file;
    execute.lpParameters = parameters;
    execute.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExA(&execute)) return KernelHandle();
    return KernelHandle(execute.hProcess);
}

void StartClientAfterUpdate(HWND owner, const char* programFolder) {
    // The client runs on by itself; its handle is not needed.
    RunProgram(owner, StockExePath(programFolder).c_str(), "Updata");
}
