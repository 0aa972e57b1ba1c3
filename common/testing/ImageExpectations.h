// What the image tests of every Windows binary check alike, as GoogleTest
// expectations: a library image for this tree's processor, and imports from
// the system's libraries only.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "LoadedLibrary.h"
#include "PeHeaders.h"

// The loaded library's file is a DLL image of this tree: PE32 for i386,
// PE32+ for x86-64.
inline void ExpectLibraryImageOfThisTree(const LoadedLibrary& library) {
    ASSERT_TRUE(library.IsLoaded());
    const std::optional<PeHeaders> headers = ReadPeHeaders(library.Path());
    ASSERT_TRUE(headers.has_value()) << library.Path();
    EXPECT_EQ(headers->machine, kTreeMachine);
    EXPECT_EQ(headers->optionalMagic, kTreeOptionalMagic);
    EXPECT_TRUE(headers->characteristics & IMAGE_FILE_DLL);
}

// Every library the image imports lies in the system folder.
inline void ExpectSystemImportsOnly(const LoadedLibrary& image) {
    ASSERT_TRUE(image.IsLoaded());
    const std::vector<std::string> imports = image.ImportedLibraries();
    EXPECT_FALSE(imports.empty());
    for (const std::string& name : imports) EXPECT_TRUE(IsInSystemDirectory(name)) << name;
}
