// What the client sees of Lexora.dll when it loads it: exactly one
// undecorated export that leaves its arguments for the caller to remove,
// imports from system libraries only, and a version resource naming the file;
// an image for the processor of this tree.
#include "CallerCleanup.h"
#include "ImageExpectations.h"
#include "LoadedLibrary.h"
#include "RecordingSink.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace {

TEST(LibraryImageTest, ExportsOnlyLexicalAnalysisUndecorated)
{
    LoadedLibrary image("Lexora.dll");
    ASSERT_TRUE(image.IsLoaded());
    EXPECT_EQ(image.ExportNames(), std::vector<std::string>{"LexicalAnalysis"});
    EXPECT_NE(GetProcAddress(image.Handle(), "LexicalAnalysis"), nullptr);
}

TEST(LibraryImageTest, ExportLeavesArgumentsToTheCallerAndReturnsByteFalse)
{
    LoadedLibrary image("Lexora.dll");
    ASSERT_TRUE(image.IsLoaded());
    const FARPROC analyse = GetProcAddress(image.Handle(), "LexicalAnalysis");
    ASSERT_NE(analyse, nullptr);

    for (const char* text : {static_cast<const char*>(nullptr), "a+b"}) {
        SCOPED_TRACE(text == nullptr ? "null text" : text);
        RecordingSink sink;
#if defined(__i386__)
        const StackCall call = CallMeasuringStack(reinterpret_cast<const void*>(analyse),
                                                  {reinterpret_cast<uint32_t>(text), reinterpret_cast<uint32_t>(&sink)});
        EXPECT_EQ(call.bytesLeft, 8u);
        const uint32_t result = call.eax;
#else
        const auto call = reinterpret_cast<uint32_t (*)(const char*, void*)>(reinterpret_cast<void*>(analyse));
        const uint32_t result = call(text, &sink);
#endif
        EXPECT_EQ(result & 0xFF, 0u);
        const std::vector<Token> expected =
            text == nullptr ? std::vector<Token>{} : std::vector<Token>{{22, 0, 1}, {0, 1, 1}, {22, 2, 1}};
        EXPECT_EQ(sink.tokens, expected);
    }
}

TEST(LibraryImageTest, IsALibraryImageForThisTreesProcessor)
{
    ExpectLibraryImageOfThisTree(LoadedLibrary("Lexora.dll"));
}

TEST(LibraryImageTest, ImportsSystemLibrariesOnly)
{
    LoadedLibrary image("Lexora.dll");
    ASSERT_TRUE(image.IsLoaded());
    const std::set<std::string> system = {"kernel32.dll", "msvcrt.dll", "user32.dll", "advapi32.dll"};
    for (std::string name : image.ImportedLibraries()) {
        std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
        const bool isSystem = system.count(name) != 0 || name.rfind("api-ms-win-", 0) == 0;
        EXPECT_TRUE(isSystem) << name;
    }
}

TEST(LibraryImageTest, CarriesVersionResourceNamingTheFile)
{
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA("Lexora.dll", &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA("Lexora.dll", 0, size, block.data()));
    char* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\StringFileInfo\\080404b0\\OriginalFilename",
                               reinterpret_cast<void**>(&value), &length));
    EXPECT_STREQ(value, "Lexora.dll");
}

}  // namespace
