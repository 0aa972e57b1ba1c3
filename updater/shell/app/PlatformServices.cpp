#include "app/PlatformServices.h"

#include <commctrl.h>
#include <objbase.h>

#include <cstdio>

#include "app/ResourceSource.h"

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
