#include "install/ClientLauncher.h"

#include <shellapi.h>

#include "install/ClientFiles.h"

HANDLE RunProgram(HWND owner, const char* file, const char* parameters) {
    SHELLEXECUTEINFOA execute = {};
    execute.cbSize = sizeof execute;
    execute.fMask = SEE_MASK_NOCLOSEPROCESS;
    execute.hwnd = owner;
    execute.lpVerb = "open";
    execute.lpFile = file;
    execute.lpParameters = parameters;
    execute.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExA(&execute)) return nullptr;
    return execute.hProcess;
}

void StartClientAfterUpdate(HWND owner, const char* programFolder) {
    HANDLE client = RunProgram(owner, StockExePath(programFolder).c_str(), "Updata");
    if (client) CloseHandle(client);
}
