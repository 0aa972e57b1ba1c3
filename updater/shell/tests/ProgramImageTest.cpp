// What the client starts as Koravel.exe: a windowed program image for the
// processor of this tree that imports system libraries only and carries a
// version resource.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ImageExpectations.h"
#include "LoadedLibrary.h"
#include "PeHeaders.h"

namespace {

TEST(KoravelImage, IsAWindowedProgramForThisTreesProcessor) {
    const std::optional<PeHeaders> headers = ReadPeHeaders(KORAVEL_EXE);
    ASSERT_TRUE(headers.has_value());
    EXPECT_EQ(headers->machine, kTreeMachine);
    EXPECT_EQ(headers->optionalMagic, kTreeOptionalMagic);
    EXPECT_FALSE(headers->characteristics & IMAGE_FILE_DLL);
    EXPECT_TRUE(headers->characteristics & IMAGE_FILE_EXECUTABLE_IMAGE);
    EXPECT_EQ(headers->subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
    DWORD handle = 0;
    EXPECT_GT(GetFileVersionInfoSizeA(KORAVEL_EXE, &handle), 0u);
}

TEST(KoravelImage, ImportsOnlySystemLibraries) {
    // Mapped as an image, its imports left unresolved: only the directory is read.
    ExpectSystemImportsOnly(LoadedLibrary(KORAVEL_EXE, DONT_RESOLVE_DLL_REFERENCES));
}

}  // namespace
