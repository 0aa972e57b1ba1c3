// One run of the update engine, as every part of the shell starts it: the
// client's Stock.ini, the update folder, the window that gets the reports
// (none in the silent mode), and the steps (kCheckSteps or kDownloadSteps).
// Returns when the engine has finished.
#pragma once

#include <windows.h>

#include "run/UpdateEngine.h"

void RunUpdateEngine(HWND notifyWindow, const EngineSteps& steps);
