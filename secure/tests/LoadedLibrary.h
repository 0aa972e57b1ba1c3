// A DLL loaded for the lifetime of the object.
#pragma once

#include <windows.h>

#include <string>

namespace secure::testing {

class LoadedLibrary {
public:
    explicit LoadedLibrary(const char* fileName) : module_(LoadLibraryA(fileName)) {}
    ~LoadedLibrary() {
        if (module_ != nullptr) FreeLibrary(module_);
    }
    LoadedLibrary(const LoadedLibrary&) = delete;
    LoadedLibrary& operator=(const LoadedLibrary&) = delete;

    bool IsLoaded() const { return module_ != nullptr; }
    HMODULE Handle() const { return module_; }

    // The address of an export found by its exact name, or null.
    void* Export(const char* name) const {
        return module_ != nullptr ? reinterpret_cast<void*>(GetProcAddress(module_, name)) : nullptr;
    }

private:
    HMODULE module_;
};

}  // namespace secure::testing
