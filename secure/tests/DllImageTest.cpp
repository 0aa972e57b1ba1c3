// The built secure.dll as the client sees it: exactly the eight undecorated
// exports, imports from system libraries only, and a version resource.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "LoadedLibrary.h"

namespace secure::testing {
namespace {

// Reads the export and import directories of a module mapped by the loader.
class ModuleDirectories {
public:
    explicit ModuleDirectories(HMODULE module) : base_(reinterpret_cast<const BYTE*>(module)) {}

    std::vector<std::string> ExportNames() const {
        std::vector<std::string> names;
        const IMAGE_DATA_DIRECTORY& entry = Directory(IMAGE_DIRECTORY_ENTRY_EXPORT);
        if (entry.Size == 0) return names;
        const auto* directory = At<IMAGE_EXPORT_DIRECTORY>(entry.VirtualAddress);
        const auto* nameOffsets = At<DWORD>(directory->AddressOfNames);
        for (DWORD i = 0; i < directory->NumberOfNames; ++i) names.emplace_back(At<char>(nameOffsets[i]));
        return names;
    }

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
        return reinterpret_cast<const T*>(base_ + relativeAddress);
    }

    const IMAGE_DATA_DIRECTORY& Directory(int index) const {
        const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base_);
        const auto* nt = At<IMAGE_NT_HEADERS>(static_cast<DWORD>(dos->e_lfanew));
        return nt->OptionalHeader.DataDirectory[index];
    }

    const BYTE* base_;
};

bool IsInSystemDirectory(const std::string& library) {
    char directory[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryA(directory, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return false;
    const std::string path = std::string(directory) + "\\" + library;
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST(SecureDll, ExportsExactlyTheEightUndecoratedNames) {
    const LoadedLibrary library("secure.dll");
    ASSERT_TRUE(library.IsLoaded());
    std::vector<std::string> names = ModuleDirectories(library.Handle()).ExportNames();
    std::sort(names.begin(), names.end());
    const std::vector<std::string> expected = {"DES3_Decrypt", "DES3_Encrypt",     "DES_Decrypt",     "DES_Encrypt",
                                               "DH_GetKey",    "DH_GetPG",         "DH_GetPrivateKey", "DH_GetPublicKey"};
    EXPECT_EQ(names, expected);
}

TEST(SecureDll, ImportsOnlySystemLibraries) {
    const LoadedLibrary library("secure.dll");
    ASSERT_TRUE(library.IsLoaded());
    const std::vector<std::string> imports = ModuleDirectories(library.Handle()).ImportedLibraries();
    EXPECT_FALSE(imports.empty());
    for (const std::string& name : imports) {
        EXPECT_TRUE(IsInSystemDirectory(name)) << name;
    }
}

TEST(SecureDll, CarriesAVersionResource) {
    DWORD handle = 0;
    EXPECT_GT(GetFileVersionInfoSizeA("secure.dll", &handle), 0u);
}

}  // namespace
}  // namespace secure::testing
