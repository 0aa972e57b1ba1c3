#include "install/ClientWindows.h"

#include <windows.h>

#include <cstring>
#include <string>

#include "app/ResourceSource.h"
#include "app/SystemTexts.h"
#include "ResourceIds.h"

namespace {

void CloseEveryWindowTitled(const char* title) {
    while (HWND window = FindWindowA(nullptr, title)) {
        SendMessageA(window, WM_CLOSE, 0, 0);
    }
}

void CloseInformationCentre() {
    HWND window = FindWindowA(TEXT_INFO_CENTRE_CLASS, nullptr);
    if (!window) return;
    char title[128] = {};
    GetWindowTextA(window, title, sizeof title);
    if (std::strstr(title, TEXT_INFO_CENTRE_MARK)) SendMessageA(window, WM_CLOSE, 0, 0);
}

}  // namespace

void CloseClientWindows() {
    CloseEveryWindowTitled(TEXT_CLIENT_TITLE);
    CloseInformationCentre();
    CloseEveryWindowTitled(TEXT_TERMINAL_TITLE);
    std::string configured = LoadResourceString(IDS_CLIENT_TITLE);
    if (!configured.empty()) CloseEveryWindowTitled(configured.c_str());
}
