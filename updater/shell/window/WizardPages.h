// Numbers of the eight wizard pages and the templates they are made from.
#pragma once

enum WizardPageNumber {
    PAGE_CHECKING = 0,
    PAGE_UPDATE_FOUND = 1,
    PAGE_MANDATORY_UPDATE = 2,
    PAGE_NO_UPDATE = 3,
    PAGE_DOWNLOAD = 4,
    PAGE_INSTALL = 5,
    PAGE_READY_TO_INSTALL = 6,
    PAGE_FAILED = 7,
};

// Custom messages of the main dialog.
#define WM_TRAYICON_NOTIFY (0x0400 + 106)  // WM_USER + 106
