#include "app/PlatformServices.h"

#include <commctrl.h>
#include <objbase.h>

#include <cstdio>

#include "app/ResourceSource.h"

SingleInstanceLock::SingleInstanceLock() {
    mutex_.Reset(CreateMutexA(nullptr, FALSE, "Global\\{0E4EFE89-DE3F-4C64-86AB-94735475956D"));
    if (mutex_ && GetLastError() == ERROR_ALREADY_EXISTS) {
        heldElsewhere_ = true;
        mutex_.Reset();
    }
}

SingleInstanceLock::~SingleInstanceLock() = default;

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
    module_.Reset(LoadLibraryA(path));
    if (module_) SetResourceModule(module_.Get());
}

// Resources stop coming from the library before it is unloaded.
ResourceLibrary::~ResourceLibrary() {
    if (module_) SetResourceModule(nullptr);
}
