// A DLL loaded for the lifetime of the object, with what the library tests
// check of it as its caller sees it: its exports by name and the libraries it
// imports, read from the image the loader mapped. Windows only.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "LoadedModule.h"

// True when a library of that name lies in the system folder, where an
// import of a system library is resolved.
inline bool IsInSystemDirectory(const std::string& library) {
    char directory[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryA(directory, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return false;
    const std::string path = std::string(directory) + "\\" + library;
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class LoadedLibrary {
public:
    explicit LoadedLibrary(const char* fileName, DWORD flags = 0) : module_(LoadLibraryExA(fileName, nullptr, flags)) {}

    bool IsLoaded() const { return module_.IsValid(); }
    // The file the loader mapped, or an empty text.
    std::string Path() const {
        char path[MAX_PATH] = {};
        const DWORD length = module_ ? GetModuleFileNameA(module_.Get(), path, MAX_PATH) : 0;
        return length > 0 && length < MAX_PATH ? std::string(path, length) : std::string();
    }
    HMODULE Handle() const { return module_.Get(); }

    // The address of an export found by its exact name, or null.
    void* Export(const char* name) const {
        return module_ ? reinterpret_cast<void*>(GetProcAddress(module_.Get(), name)) : nullptr;
    }

    // The names of the export directory in its order; "<export by ordinal
    // only>" is added when some export has no name. Loaded libraries only.
    std::vector<std::string> ExportNames() const {
        std::vector<std::string> names;
        const IMAGE_DATA_DIRECTORY& entry = Directory(IMAGE_DIRECTORY_ENTRY_EXPORT);
        if (entry.Size == 0) return names;
        const auto* directory = At<IMAGE_EXPORT_DIRECTORY>(entry.VirtualAddress);
        const auto* nameOffsets = At<DWORD>(directory->AddressOfNames);
        for (DWORD i = 0; i < directory->NumberOfNames; ++i) names.emplace_back(At<char>(nameOffsets[i]));
        if (directory->NumberOfFunctions != directory->NumberOfNames) names.emplace_back("<export by ordinal only>");
        return names;
    }

    // The file names of the import directory, as the image spells them.
    // Loaded libraries only.
    std::vector<std::string> ImportedLibraries() const {
        std::vector<std::string> names;
        const IMAGE_DATA_DIRECTORY& entry = Directory(IMAGE_DIRECTORY_ENTRY_IMPORT);
        if (entry.Size == 0) return names;
        for (const auto* d = At<IMAGE_IMPORT_DESCRIPTOR>(entry.VirtualAddress); d->Name != 0; ++d) {
            names.emplace_back(At<char>(d->Name));
        }
        return names;
    }

private:
    template <typename T>
    const T* At(DWORD relativeAddress) const {
        return reinterpret_cast<const T*>(reinterpret_cast<const BYTE*>(module_.Get()) + relativeAddress);
    }

    const IMAGE_DATA_DIRECTORY& Directory(int index) const {
        const auto* dos = At<IMAGE_DOS_HEADER>(0);
        const auto* nt = At<IMAGE_NT_HEADERS>(static_cast<DWORD>(dos->e_lfanew));
        return nt->OptionalHeader.DataDirectory[index];
    }

    LoadedModule module_;
};
