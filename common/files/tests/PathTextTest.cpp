#include "PathText.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using List = std::vector<std::string>;

TEST(PathText, FolderOfAPathCutsAtEitherSeparatorAndDropsIt) {
    const struct {
        const char* path;
        const char* folder;
    } cases[] = {
        {"C:\\Client\\Update\\a.dll", "C:\\Client\\Update"},
        {"C:\\Client/Update/a.dll", "C:\\Client/Update"},
        {"C:\\Client\\Update\\", "C:\\Client\\Update"},  // a folder path: its trailing separator goes
        {"a.dll", ""},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(FolderOfPath(c.path), c.folder) << c.path;
}

TEST(PathText, JoinPutsOneSeparatorBetween) {
    const std::string separator(1, kPathSeparator);
    EXPECT_EQ(JoinPath("C:\\Client", "a.dll"), "C:\\Client" + separator + "a.dll");
    EXPECT_EQ(JoinPath("C:\\Client\\Update\\", "a.dll"), "C:\\Client\\Update\\a.dll");
    EXPECT_EQ(JoinPath("/srv/", "a.dll"), "/srv/a.dll");
    EXPECT_EQ(JoinPath("", "a.dll"), "a.dll");
}

TEST(PathText, ExtensionIsTheTextAfterTheLastDot) {
    EXPECT_EQ(Extension("C:\\a\\b.dll"), "dll");
    EXPECT_EQ(Extension("C:\\v1.2\\readme"), "2\\readme");
    EXPECT_EQ(Extension("C:\\a\\readme"), "");
    EXPECT_EQ(NameWithoutExtension("C:\\a\\b.tar.gz"), "C:\\a\\b.tar");
    EXPECT_EQ(NameWithoutExtension("C:\\a\\readme"), "C:\\a\\readme");
}

TEST(PathText, FolderLevelsIncludeTheDeepestWithOrWithoutATrailingSeparator) {
    EXPECT_EQ(FolderLevels("C:\\a/b\\"), (List{"C:", "C:\\a", "C:\\a/b"}));
    EXPECT_EQ(FolderLevels("C:\\a/b"), (List{"C:", "C:\\a", "C:\\a/b"}));
    EXPECT_EQ(FolderLevels("/srv//data/"), (List{"/srv", "/srv//data"}));
    EXPECT_EQ(FolderLevels(""), List{});
}

TEST(PathText, ProgramFolderFromTheModulePath) {
    const auto folderOf = [](const char* path, size_t capacity) {
        return FolderOfModulePath(path, std::strlen(path), capacity);
    };
    EXPECT_EQ(folderOf("C:\\Quorvane\\Koravel.exe", 260), "C:\\Quorvane");
    EXPECT_EQ(folderOf("C:\\Quorvane/Koravel.exe", 260), "C:\\Quorvane");
    EXPECT_EQ(folderOf("Z:\\Koravel.exe", 260), "Z:");
    // A report that filled the buffer is a cut path, not a folder.
    EXPECT_EQ(folderOf("C:\\Quorvane\\Kora", 16), std::nullopt);
    EXPECT_EQ(folderOf("C:\\Quorvane\\Kor", 16), "C:\\Quorvane");
    EXPECT_EQ(folderOf("Koravel.exe", 260), std::nullopt);
    EXPECT_EQ(FolderOfModulePath("C:\\a", 0, 260), std::nullopt);
    EXPECT_EQ(FolderOfModulePath("C:\\a\0b\\c", 8, 260), std::nullopt);  // length and text disagree
}

}  // namespace
