// Starts the client program again after an installation.
#pragma once

#include <windows.h>

#include "KernelHandles.h"

// Carries out the verb "open" on the file with the parameters, shown
// normally; the started process's handle, empty when nothing started.
KernelHandle RunProgram(HWND owner, const char* file, const char* parameters);

// Opens "<program folder>\Stock.exe" with the argument "Updata" through the
// shell's "open" verb; whether it started is not examined.
void StartClientAfterUpdate(HWND owner, const char* programFolder);
