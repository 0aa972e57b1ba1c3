// Process-wide services that start-up prepares and process end releases:
// the single-instance lock, common controls with COM, and the optional
// resource library.
#pragma once

#include <windows.h>

#include "KernelHandles.h"
#include "LoadedModule.h"

// The machine-wide mutex that keeps one updater running.
class SingleInstanceLock {
public:
    SingleInstanceLock();
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    // True when another updater already holds the mutex.
    bool heldElsewhere() const { return m_heldElsewhere; }

private:
    KernelHandle m_mutex;
    bool m_heldElsewhere = false;
};

// Common control classes and COM for the calling thread.
class UiPlatform {
public:
    UiPlatform();
    ~UiPlatform();
    UiPlatform(const UiPlatform&) = delete;
    UiPlatform& operator=(const UiPlatform&) = delete;

private:
    bool m_comReady = false;
};

// KoravelRC.dll beside the program; when it loads, every resource comes from it.
class ResourceLibrary {
public:
    explicit ResourceLibrary(const char* programFolder);
    ~ResourceLibrary();
    ResourceLibrary(const ResourceLibrary&) = delete;
    ResourceLibrary& operator=(const ResourceLibrary&) = delete;

private:
    LoadedModule m_module;
};
