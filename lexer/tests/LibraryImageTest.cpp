// What the client sees of Lexora.dll when it loads it: exactly one
// undecorated export that leaves its arguments for the caller to remove,
// imports from system libraries only, and a version resource naming the file.
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

// A loaded image's export and import names, read from its PE headers.
class LoadedImage {
public:
    explicit LoadedImage(const char* file) : module_(LoadLibraryA(file)) {}
    ~LoadedImage()
    {
        if (module_ != nullptr) {
            FreeLibrary(module_);
        }
    }
    LoadedImage(const LoadedImage&) = delete;
    LoadedImage& operator=(const LoadedImage&) = delete;

    bool Loaded() const { return module_ != nullptr; }
    HMODULE Module() const { return module_; }

    std::vector<std::string> ExportNames() const
    {
        std::vector<std::string> names;
        const IMAGE_DATA_DIRECTORY& directory = Directory(IMAGE_DIRECTORY_ENTRY_EXPORT);
        if (directory.Size == 0) {
            return names;
        }
        const auto* exports = At<IMAGE_EXPORT_DIRECTORY>(directory.VirtualAddress);
        const auto* nameRvas = At<DWORD>(exports->AddressOfNames);
        for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
            names.emplace_back(At<char>(nameRvas[i]));
        }
        if (exports->NumberOfFunctions != exports->NumberOfNames) {
            names.emplace_back("<export by ordinal only>");
        }
        return names;
    }

    std::vector<std::string> ImportedLibraries() const
    {
        std::vector<std::string> names;
        const IMAGE_DATA_DIRECTORY& directory = Directory(IMAGE_DIRECTORY_ENTRY_IMPORT);
        for (const auto* entry = At<IMAGE_IMPORT_DESCRIPTOR>(directory.VirtualAddress); entry->Name != 0; ++entry) {
            std::string name = At<char>(entry->Name);
            std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
            names.push_back(name);
        }
        return names;
    }

private:
    template <typename T>
    const T* At(DWORD rva) const
    {
        return reinterpret_cast<const T*>(reinterpret_cast<const BYTE*>(module_) + rva);
    }

    const IMAGE_DATA_DIRECTORY& Directory(int index) const
    {
        const auto* dos = At<IMAGE_DOS_HEADER>(0);
        const auto* nt = At<IMAGE_NT_HEADERS32>(static_cast<DWORD>(dos->e_lfanew));
        return nt->OptionalHeader.DataDirectory[index];
    }

    HMODULE module_;
};

TEST(LibraryImageTest, ExportsOnlyLexicalAnalysisUndecorated)
{
    LoadedImage image("Lexora.dll");
    ASSERT_TRUE(image.Loaded());
    EXPECT_EQ(image.ExportNames(), std::vector<std::string>{"LexicalAnalysis"});
    EXPECT_NE(GetProcAddress(image.Module(), "LexicalAnalysis"), nullptr);
}

TEST(LibraryImageTest, ExportLeavesArgumentsToTheCallerAndReturnsByteFalse)
{
    LoadedImage image("Lexora.dll");
    ASSERT_TRUE(image.Loaded());
    const FARPROC analyse = GetProcAddress(image.Module(), "LexicalAnalysis");
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
    LoadedImage image("Lexora.dll");
    ASSERT_TRUE(image.Loaded());
    const std::set<std::string> system = {"kernel32.dll", "msvcrt.dll", "user32.dll", "advapi32.dll"};
    for (const std::string& name : image.ImportedLibraries()) {
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
