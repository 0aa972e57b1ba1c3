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
    void SetRunMode(RunMode mode) { m_runMode = mode; }
    void SetMainWindow(HWND window) { m_mainWindow = window; }

    const char* programFolder() const { return m_programFolder; }
    const char* updateFolder() const { return m_updateFolder; }
    RunMode runMode() const { return m_runMode; }

    bool exitAllowed() const { return m_exitAllowed; }
    // Sets the flag only: the flow has reached a page whose only action is to leave.
    void allowExit() { m_exitAllowed = true; }
    // Sets the flag and closes the main window, which ends the program.
    void requestExit();

private:
    UpdaterApp() = default;

    char m_programFolder[MAX_PATH] = {};
    char m_updateFolder[MAX_PATH] = {};
    RunMode m_runMode = RUN_MODE_NONE;
    std::atomic<bool> m_exitAllowed{false};
    HWND m_mainWindow = nullptr;
};
