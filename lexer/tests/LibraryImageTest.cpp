// What the client sees of Lexora.dll when it loads it: exactly one
// undecorated export, imports from system libraries only, and a version
// resource naming the file.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>
#include <vector>

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
