#include "install/ClientLauncher.h"

#include "install/ClientFiles.h"
#include "Support.h"

void StartClientAfterUpdate(HWND owner, const char* programFolder) {
    HANDLE client = RunProgram(owner, StockExePath(programFolder).c_str(), "Updata");
    if (client) CloseHandle(client);
}
