// Texts of the system that the code itself uses, as GB2312 bytes (the form in
// which the client's windows and files carry them).
#pragma once

// "Quorvane": title of the client's main window.
#define TEXT_CLIENT_TITLE "Quorvane"
// "Mirenda行情终端": title of the client's quote terminal window.
#define TEXT_TERMINAL_TITLE "Mirenda\xD0\xD0\xC7\xE9\xD6\xD5\xB6\xCB"
// "TfrmMain": window class of the client's information centre.
#define TEXT_INFO_CENTRE_CLASS "TfrmMain"
// "资讯中心": what the information centre's title contains.
#define TEXT_INFO_CENTRE_MARK "\xD7\xCA\xD1\xB6\xD6\xD0\xD0\xC4"
// "更新完成": caption of the install progress bar once installation is done.
#define TEXT_INSTALL_DONE "\xB8\xFC\xD0\xC2\xCD\xEA\xB3\xC9"
