// Resource numbers of Koravel. A resource library that replaces the built-in
// resources must use the same numbers.
#pragma once

// Dialog templates
#define IDD_ABOUT             100
#define IDD_UPDATE            102
#define IDD_DOWNLOAD_PAGE     131
#define IDD_NO_UPDATE_PAGE    132
#define IDD_UPDATE_FOUND_PAGE 135
#define IDD_READY_PAGE        136
#define IDD_INSTALL_PAGE      137
#define IDD_FAILED_PAGE       138
#define IDD_CHECKING_PAGE     139
#define IDD_MANDATORY_PAGE    140

// Icon, bitmap and menu
#define IDR_MAINFRAME         128
#define IDB_BANNER            129
#define IDR_TRAY_MENU         130

// The publisher's public key (PEM) whose signed manifests alone are accepted:
// RCDATA, present only in builds made with a key (KORAVEL_MANIFEST_KEY) or in
// a resource library that carries one.
#define IDR_MANIFEST_KEY      150

// Strings (128 and 130 are tray tips that only a resource library supplies)
#define IDS_ABOUTBOX          101
#define IDS_START_FROM_CLIENT 102
#define IDS_CLIENT_TITLE      103

// Commands
#define IDM_ABOUTBOX          0x0010
#define ID_TRAY_SHOW          32771
#define ID_TRAY_HIDE          32772

// Controls of the main dialog
#define IDC_BANNER            1000
#define IDC_PAGE_FRAME        1001

// Controls of the pages; each button's identifier names its action
#define IDC_HEADING           1010
#define IDC_TEXT1             1011
#define IDC_TEXT2             1012
#define IDC_START_UPDATE      1013
#define IDC_INSTALL_NOW       1014
#define IDC_EXIT              1015
#define IDC_FINISH            1016
#define IDC_NOTES             1017
#define IDC_PROGRESS_CAPTION  1018
#define IDC_PROGRESS          1019
#define IDC_ABOUT_TEXT        1020
