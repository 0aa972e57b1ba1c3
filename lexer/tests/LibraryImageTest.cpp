// What the client sees of Lexora.dll when it loads it: exactly one
// undecorated export that leaves its arguments for the caller to remove,
// imports from system libraries only, and a version resource naming the file.
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

// Calls function(text, sink) and stores in *bytesLeft how many bytes of
// arguments were still on the stack when it returned: 8 if the caller
// removes them, 0 if the callee did. Returns what the function returned in EAX.
extern "C" uint32_t CallMeasuringStack(FARPROC function, const char* text, void* sink, uint32_t* bytesLeft);
asm(R"(
    .text
    .globl _CallMeasuringStack
_CallMeasuringStack:
    pushl %ebx
    movl 8(%esp), %eax
    movl 12(%esp), %ecx
    movl 16(%esp), %edx
    movl %esp, %ebx
    pushl %edx
    pushl %ecx
    call *%eax
    movl %ebx, %ecx
    subl %esp, %ecx
    movl %ebx, %esp
    movl 20(%esp), %edx
    movl %ecx, (%edx)
    popl %ebx
    ret
)");

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
        uint32_t bytesLeft = 0;
        const uint32_t result = CallMeasuringStack(analyse, text, &sink, &bytesLeft);
        EXPECT_EQ(bytesLeft, 8u);
        EXPECT_EQ(result & 0xFF, 0u);
        const std::vector<Token> expected =
            text == nullptr ? std::vector<Token>{} : std::vector<Token>{{22, 0, 1}, {0, 1, 1}, {22, 2, 1}};
        EXPECT_EQ(sink.tokens, expected);
    }
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
