// The Win32 side of paths: the running program's folder and the search for
// an entry (common/win32), under Wine.
#include "FileExists.h"
#include "ProgramFolder.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

namespace {

TEST(ProgramFolder, NamesTheFolderThatHoldsThisProgram) {
    const std::optional<std::string> folder = ProgramFolder();
    ASSERT_TRUE(folder.has_value());
    EXPECT_NE(folder->back(), '\\');
    EXPECT_NE(folder->back(), '/');
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    EXPECT_EQ(JoinPath(*folder, std::string(path).substr(folder->size() + 1)), path);
    EXPECT_TRUE(FileExists(path));
}

TEST(FileExists, FindsFilesAndWildcardMatches) {
    ScratchFolder folder;
    ASSERT_TRUE(WriteWholeFile(folder.File("a.txt"), "a"));
    EXPECT_TRUE(FileExists(folder.File("a.txt").c_str()));
    EXPECT_TRUE(FileExists(folder.File("*.txt").c_str()));
    EXPECT_FALSE(FileExists(folder.File("*.dll").c_str()));
    EXPECT_FALSE(FileExists(folder.File("b.txt").c_str()));
    EXPECT_FALSE(FileExists(nullptr));
    EXPECT_FALSE(FileExists(std::string(400, 'x').c_str()));
}

}  // namespace
