// What the client sees of TDVN.dll when it loads it: exactly the two
// undecorated exports, each leaving its arguments for the caller to remove
// and returning 1, imports from system libraries only, a version resource,
// and an image for the processor of this tree.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "CallerCleanup.h"
#include "ImageExpectations.h"
#include "LoadedLibrary.h"

namespace {

TEST(TdvnLibraryImage, ExportsExactlyTheTwoUndecoratedNames) {
    const LoadedLibrary library("TDVN.dll");
    ASSERT_TRUE(library.IsLoaded());
    std::vector<std::string> names = library.ExportNames();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string> {"TDVN_Init", "TDVN_PopupMsgWnd"}));
}

#if defined(__i386__)
TEST(TdvnLibraryImage, ExportsLeaveTheirArgumentsToTheCallerAndReturnOne) {
    const LoadedLibrary library("TDVN.dll");
    ASSERT_TRUE(library.IsLoaded());
    // Before TDVN_Init there is no window: the call shows nothing.
    const StackCall popup = CallMeasuringStack(library.Export("TDVN_PopupMsgWnd"), {});
    EXPECT_EQ(popup.bytesLeft, 0u);
    EXPECT_EQ(popup.eax, 1u);
    const StackCall init = CallMeasuringStack(library.Export("TDVN_Init"), {0});
    EXPECT_EQ(init.bytesLeft, 4u);
    EXPECT_EQ(init.eax, 1u);
}
#endif

TEST(TdvnLibraryImage, ImportsOnlySystemLibraries) { ExpectSystemImportsOnly(LoadedLibrary("TDVN.dll")); }

TEST(TdvnLibraryImage, IsALibraryImageForThisTreesProcessorWithAVersion) {
    ExpectLibraryImageOfThisTree(LoadedLibrary("TDVN.dll"));
    DWORD handle = 0;
    EXPECT_GT(GetFileVersionInfoSizeA("TDVN.dll", &handle), 0u);
}

}  // namespace
