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
    std::vector<std::string> names = library.ExportNames();
    std::sort(names.begin(), names.end());
    const std::vector<std::string> expected = {"DES3_Decrypt", "DES3_Encrypt",     "DES_Decrypt",     "DES_Encrypt",
                                               "DH_GetKey",    "DH_GetPG",         "DH_GetPrivateKey", "DH_GetPublicKey"};
    EXPECT_EQ(names, expected);
}

TEST(SecureDll, ImportsOnlySystemLibraries) {
    const LoadedLibrary library("secure.dll");
    ASSERT_TRUE(library.IsLoaded());
    const std::vector<std::string> imports = library.ImportedLibraries();
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
