#include "PlatformServices.h"

#include <commctrl.h>
#include <objbase.h>

#include <cstdio>
#include <cstring>

#include "ResourceSource.h"

SingleInstanceLock::SingleInstanceLock() {
    mutex_ = CreateMutexA(nullptr, FALSE, "Global\\{0E4EFE89-DE3F-4C64-86AB-94735475956D");
    if (mutex_ && GetLastError() == ERROR_ALREADY_EXISTS) {
        heldElsewhere_ = true;
        CloseHandle(mutex_);
        mutex_ = nullptr;
    }
}

SingleInstanceLock::~SingleInstanceLock() {
    if (mutex_) CloseHandle(mutex_);
}

UiPlatform::UiPlatform() {
    INITCOMMONCONTROLSEX controls{sizeof controls, 0xFF};
    InitCommonControlsEx(&controls);
    comReady_ = SUCCEEDED(CoInitialize(nullptr));
}

UiPlatform::~UiPlatform() {
    if (comReady_) CoUninitialize();
}

ResourceLibrary::ResourceLibrary(const char* programFolder) {
    char path[MAX_PATH];
    snprintf(path, sizeof path, "%s/KoravelRC.dll", programFolder);
    module_ = LoadLibraryA(path);
    if (module_) SetResourceModule(module_);
}

ResourceLibrary::~ResourceLibrary() {
    if (!module_) return;
    SetResourceModule(nullptr);
    FreeLibrary(module_);
}

bool FindProgramFolder(char (&folder)[MAX_PATH]) {
    char path[MAX_PATH] = {};
    DWORD reported = GetModuleFileNameA(nullptr, path, sizeof path);
    path[sizeof path - 1] = '\0';
    // A cut-off path is reported with the buffer's size, longer than the text kept.
    if (reported == 0 || reported != std::strlen(path)) return false;
    char* cut = std::strrchr(path, '\\');
    char* slash = std::strrchr(path, '/');
    if (slash > cut) cut = slash;
    if (cut) *cut = '\0';
    snprintf(folder, sizeof folder, "%s", path);
    return true;
}
