// Koravel.exe started in a client folder as the client starts it, and what a
// user sees of it: its dialog, the page shown, message boxes.
#pragma once

#include <windows.h>

#include <string>

#include "KernelHandles.h"

class KoravelProcess {
public:
    // Starts "<folder>\Koravel.exe <modeText>" with its standard output in
    // "<folder>\koravel-out.txt".
    KoravelProcess(const std::string& folder, const std::string& modeText);
    ~KoravelProcess();
    KoravelProcess(const KoravelProcess&) = delete;
    KoravelProcess& operator=(const KoravelProcess&) = delete;

    bool started() const { return process_.process.IsValid(); }
    bool WaitExit(DWORD milliseconds = 20000);
    bool running() const;
    // The exit code of the ended process; STILL_ACTIVE while it runs.
    DWORD exitCode() const;

    // A top-level dialog of the process (class "#32770"), shown or hidden;
    // with a caption, only one of that caption.
    HWND FindDialog(const std::string& caption = std::string()) const;
    // Waits for such a dialog to be shown.
    HWND WaitDialog(const std::string& caption = std::string()) const;
    bool AnyVisibleWindow() const;
    std::string Output() const;

private:
    std::string folder_;
    ProcessHandles process_;
};

// Messages the dialog takes from outside, by their fixed values: the tray
// icon's callback and the engine's reports.
const UINT kTrayNotify = WM_USER + 106;
const UINT kUpdateNotify = WM_USER + 103;

// The wizard page now shown on the dialog (0 to 7), or -1.
int VisiblePage(HWND dialog);
HWND VisiblePageWindow(HWND dialog);
HWND PageWindow(HWND dialog, int page);
int IdentifyPage(HWND page);
int WaitForPage(HWND dialog, int page);

std::string WindowText(HWND window);
// Clicks a button of the page now shown, as the user would.
bool ClickOnPage(HWND dialog, int controlId);

// The progress bar of a page: its position and the upper end of its range.
int ProgressPosition(HWND page);
int ProgressLimit(HWND page);
// Whether the page now shown reports the installation finished.
bool InstallDone(HWND dialog);
