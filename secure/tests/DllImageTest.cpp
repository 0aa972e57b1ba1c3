// The built secure.dll as the client sees it: exactly the eight undecorated
// exports, each leaving its arguments for the caller to remove, imports from
// system libraries only, a version resource, and an image for the processor
// of this tree.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "CallerCleanup.h"
#include "ImageExpectations.h"
#include "LoadedLibrary.h"

namespace secure::testing {
namespace {

TEST(SecureDll, ExportsExactlyTheEightUndecoratedNames) {
    const LoadedLibrary library("secure.dll");
    ASSERT_TRUE(library.IsLoaded());
    std::vector<std::string> names = library.ExportNames();
    std::sort(names.begin(), names.end());
    const std::vector<std::string> expected = {"DES3_Decrypt", "DES3_Encrypt",     "DES_Decrypt",     "DES_Encrypt",
                                               "DH_GetKey",    "DH_GetPG",         "DH_GetPrivateKey", "DH_GetPublicKey"};
    EXPECT_EQ(names, expected);
}

#if defined(__i386__)
// Every export called as a 32-bit client calls it, with its arguments as
// stack words (a 64-bit value takes two, low half first): the arguments are
// still there when it returns, and the result comes in AL, or in EDX:EAX
// equal to what it wrote through its last pointer.
TEST(SecureDll, EveryExportLeavesItsArgumentsToTheCaller) {
    const LoadedLibrary library("secure.dll");
    ASSERT_TRUE(library.IsLoaded());
    auto word = [](const void* pointer) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(pointer)); };
    const unsigned char input[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    const unsigned char key[24] = {0x13, 0x34, 0x57, 0x79, 0x9B, 0xBC, 0xDF, 0xF1};
    unsigned char output[16] = {};
    for (const char* name : {"DES_Encrypt", "DES_Decrypt", "DES3_Encrypt", "DES3_Decrypt"}) {
        SCOPED_TRACE(name);
        const StackCall call = CallMeasuringStack(library.Export(name), {word(input), 16, word(key), 24, word(output)});
        EXPECT_EQ(call.bytesLeft, 20u);
        EXPECT_EQ(call.eax & 0xFF, 1u);
    }

    auto result = [](const StackCall& call) { return uint64_t {call.edx} << 32 | call.eax; };
    uint64_t p = 0, g = 0, privateKey = 0, publicKey = 0, sharedKey = 0;
    const StackCall pg = CallMeasuringStack(library.Export("DH_GetPG"), {word(&p), word(&g)});
    EXPECT_EQ(pg.bytesLeft, 8u);
    EXPECT_EQ(result(pg), g);
    ASSERT_GT(p, 1u);
    const auto low = [](uint64_t v) { return static_cast<uint32_t>(v); };
    const auto high = [](uint64_t v) { return static_cast<uint32_t>(v >> 32); };
    const StackCall drawn = CallMeasuringStack(library.Export("DH_GetPrivateKey"),
                                               {low(p), high(p), low(g), high(g), word(&privateKey)});
    EXPECT_EQ(drawn.bytesLeft, 20u);
    EXPECT_EQ(result(drawn), privateKey);
    const StackCall made = CallMeasuringStack(
        library.Export("DH_GetPublicKey"),
        {low(p), high(p), low(g), high(g), low(privateKey), high(privateKey), word(&publicKey)});
    EXPECT_EQ(made.bytesLeft, 28u);
    EXPECT_EQ(result(made), publicKey);
    const StackCall agreed = CallMeasuringStack(library.Export("DH_GetKey"),
                                                {low(p), high(p), low(g), high(g), low(privateKey), high(privateKey),
                                                 low(publicKey), high(publicKey), word(&sharedKey)});
    EXPECT_EQ(agreed.bytesLeft, 36u);
    EXPECT_EQ(result(agreed), sharedKey);
}
#endif

TEST(SecureDll, IsALibraryImageForThisTreesProcessor) { ExpectLibraryImageOfThisTree(LoadedLibrary("secure.dll")); }

TEST(SecureDll, ImportsOnlySystemLibraries) { ExpectSystemImportsOnly(LoadedLibrary("secure.dll")); }

TEST(SecureDll, CarriesAVersionResource) {
    DWORD handle = 0;
    EXPECT_GT(GetFileVersionInfoSizeA("secure.dll", &handle), 0u);
}

}  // namespace
}  // namespace secure::testing
