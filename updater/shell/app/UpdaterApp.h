// The one application object of the updater: where it runs, how it was asked
// to run, and whether closing the main window may end it.
#pragma once

#include <windows.h>

#include <atomic>

#include "app/RunMode.h"

class UpdaterApp {
public:
    static UpdaterApp& Instance();

    // Takes the folder of the executable (without trailing separator).
    void SetProgramFolder(const char* folder);
    void SetRunMode(RunMode mode) { runMode_ = mode; }
    void SetMainWindow(HWND window) { mainWindow_ = window; }

    const char* programFolder() const { return programFolder_; }
    const char* updateFolder() const { return updateFolder_; }
    RunMode runMode() const { return runMode_; }

    bool exitAllowed() const { return exitAllowed_; }
    // Sets the flag only: the flow has reached a page whose only action is to leave.
    void allowExit() { exitAllowed_ = true; }
    // Sets the flag and closes the main window, which ends the program.
    void requestExit();

private:
    UpdaterApp() = default;

    char programFolder_[MAX_PATH] = {};
    char updateFolder_[MAX_PATH] = {};
    RunMode runMode_ = RUN_MODE_NONE;
    std::atomic<bool> exitAllowed_{false};
    HWND mainWindow_ = nullptr;
};
