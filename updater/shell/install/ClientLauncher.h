// Starts the client program again after an installation.
#pragma once

#include <windows.h>

// Opens "<program folder>\Stock.exe" with the argument "Updata" through the
// shell's "open" verb; whether it started is not examined.
void StartClientAfterUpdate(HWND owner, const char* programFolder);
