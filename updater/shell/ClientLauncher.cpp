#include "ClientLauncher.h"

#include <shellapi.h>

#include "ClientFiles.h"

void StartClientAfterUpdate(HWND owner, const char* programFolder) {
    std::string program = StockExePath(programFolder);
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof info;
    info.hwnd = owner;
    info.lpVerb = "open";
    info.lpFile = program.c_str();
    info.lpParameters = "Updata";
    info.nShow = SW_SHOWNORMAL;
    ShellExecuteExA(&info);
}
