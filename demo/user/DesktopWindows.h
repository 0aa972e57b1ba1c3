// What the user sees on the desktop: the updater's wizard dialog and its
// pages, the notification-area icon, the client's window and the alert.
#pragma once

#include <windows.h>

#include <string>

enum WizardPage {
    kNoPage = -1,
    kCheckingPage = 0,
    kUpdateFoundPage = 1,
    kMandatoryUpdatePage = 2,
    kNoUpdatePage = 3,
    kDownloadPage = 4,
    kInstallPage = 5,
    kReadyToInstallPage = 6,
    kFailedPage = 7,
};

std::string WindowText(HWND window);
// The text a control holds now (an edit box of another process included,
// whose window text stays the text it was created with).
std::string ControlText(HWND control);

// The updater's dialog "自动更新", shown or hidden; null when there is none.
HWND FindUpdaterDialog();
// The page now shown on the dialog, told by its controls and heading.
WizardPage VisiblePage(HWND dialog);
const char* PageName(WizardPage page);
// A control of the page now shown.
HWND PageControl(HWND dialog, int controlId);
// Position and upper end of the progress bar of the page now shown.
int ProgressPosition(HWND dialog);
int ProgressRange(HWND dialog);

// Where the updater's icon sits in the notification area of the task bar:
// the right-most icon slot. Returns false when there is no task bar.
bool NotificationIconPoint(POINT* point);

// The client's main window "Quorvane".
HWND FindClientWindow();
// The alert window of TDVN.dll when it is on screen at its full size.
HWND FindShownAlert();
