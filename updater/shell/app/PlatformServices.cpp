#include "app/PlatformServices.h"

#include <commctrl.h>
#include <objbase.h>

#include <cstdio>

#include "app/ResourceSource.h"

SingleInstanceLock::SingleInstanceLock() {
    m_mutex.Reset(CreateMutexA(nullptr, FALSE, "Global\\{0E4EFE89-DE3F-4C64-86AB-94735475956D"));
    if (m_mutex && GetLastError() == ERROR_ALREADY_EXISTS) {
        m_heldElsewhere = true;
        m_mutex.Reset();
    }
}

SingleInstanceLock::~SingleInstanceLock() = default;

UiPlatform::UiPlatform() {
    INITCOMMONCONTROLSEX controls{sizeof controls, 0xFF};
    InitCommonControlsEx(&controls);
    m_comReady = SUCCEEDED(CoInitialize(nullptr));
}

UiPlatform::~UiPlatform() {
    if (m_comReady) CoUninitialize();
}

ResourceLibrary::ResourceLibrary(const char* programFolder) {
    char path[MAX_PATH];
    snprintf(path, sizeof path, "%s/KoravelRC.dll", programFolder);
    m_module.Reset(LoadLibraryA(path));
    if (m_module) SetResourceModule(m_module.Get());
}

// Resources stop coming from the library before it is unloaded.
ResourceLibrary::~ResourceLibrary() {
    if (m_module) SetResourceModule(nullptr);
}
