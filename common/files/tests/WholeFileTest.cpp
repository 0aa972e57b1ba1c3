#include "DurableFile.h"
#include "FolderCreation.h"
#include "PathText.h"
#include "TestFiles.h"
#include "WholeFile.h"

#include <gtest/gtest.h>

namespace {

TEST(WholeFile, WrittenBytesReadBackExactly) {
    ScratchFolder folder;
    const std::string path = folder.File("data.bin");
    std::string bytes(200000, '\0');  // more than one piece, with zero bytes and line ends
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7 + (i >> 9));
    ASSERT_TRUE(WriteWholeFile(path, bytes));
    std::string read;
    ASSERT_TRUE(ReadWholeFile(path, &read));
    EXPECT_EQ(read, bytes);

    ASSERT_TRUE(WriteWholeFile(path, "short"));  // replaced, not appended
    ASSERT_TRUE(ReadWholeFile(path, &read));
    EXPECT_EQ(read, "short");
    ASSERT_TRUE(WriteWholeFile(path, ""));
    ASSERT_TRUE(ReadWholeFile(path, &read));
    EXPECT_EQ(read, "");
}

TEST(WholeFile, FailuresAreReportedAndLeaveNoBytes) {
    ScratchFolder folder;
    std::string read = "stale";
    const FileRead missing = ReadWholeFile(folder.File("missing.txt"), &read);
    EXPECT_EQ(missing.failure, FileRead::kCannotOpen);
    EXPECT_NE(missing.systemError, 0);
    EXPECT_EQ(read, "");
    // A folder opens on some systems and then fails to read: that is no
    // empty file.
    read = "stale";
    EXPECT_FALSE(ReadWholeFile(folder.Path(), &read));
    EXPECT_EQ(read, "");
    EXPECT_FALSE(ReadFileInPieces(folder.Path(), [](const char*, size_t) {}));

    EXPECT_FALSE(WriteWholeFile(folder.File("no-such-folder") + kPathSeparator + "a.txt", "a"));
    EXPECT_FALSE(WriteWholeFile(folder.Path(), "a"));
}

TEST(WholeFile, AFileBeyondTheLargestIsRefused) {
    ScratchFolder folder;
    const std::string path = folder.File("big.bin");
    ASSERT_TRUE(WriteWholeFile(path, std::string(100001, 'x')));
    std::string read;
    EXPECT_TRUE(ReadWholeFile(path, &read, 100001));
    EXPECT_EQ(read.size(), 100001u);
    EXPECT_EQ(ReadWholeFile(path, &read, 100000).failure, FileRead::kTooLarge);
    EXPECT_EQ(read, "");
}

TEST(FolderCreation, CreatesEveryLevelTheDeepestIncluded) {
    ScratchFolder folder;
    const char s = kPathSeparator;
    const std::string deep = folder.File(std::string("a") + s + "b" + s + "c");
    EXPECT_TRUE(CreateFolders(deep));
    EXPECT_TRUE(PathExists(deep));
    EXPECT_TRUE(CreateFolders(deep + s));  // already there counts as there
    EXPECT_TRUE(CreateFolders(folder.File(std::string("d") + s + "e" + s)));
    EXPECT_TRUE(PathExists(folder.File(std::string("d") + s + "e")));

    // The folder of a file path: the file's name is not made a folder.
    const std::string file = folder.File(std::string("f") + s + "g" + s + "file.txt");
    EXPECT_TRUE(CreateFolders(FolderOfPath(file)));
    EXPECT_FALSE(PathExists(file));
    EXPECT_TRUE(WriteWholeFile(file, "x"));

    // A level that is a file cannot become a folder.
    EXPECT_FALSE(CreateFolders(file + s + "h"));
    EXPECT_FALSE(CreateFolders(""));
}

// A durable replacement leaves the new bytes and nothing beside them, or,
// when it cannot be made, the old file as it was.
TEST(DurableFile, ReplacesTheFileWholeOrNotAtAll) {
    ScratchFolder folder;
    const std::string path = folder.File("record.txt");
    ASSERT_TRUE(WriteWholeFile(path, "old"));
    ASSERT_TRUE(WriteWholeFile(path + ".new", "half a copy a killed run left"));
    EXPECT_TRUE(ReplaceFileDurably(path, "new bytes"));
    std::string bytes;
    EXPECT_TRUE(ReadWholeFile(path, &bytes));
    EXPECT_EQ(bytes, "new bytes");
    EXPECT_FALSE(ReadWholeFile(path + ".new", &bytes));

    EXPECT_TRUE(ReplaceFileDurably(folder.File("created.txt"), "first"));
    EXPECT_TRUE(ReadWholeFile(folder.File("created.txt"), &bytes));
    EXPECT_EQ(bytes, "first");

    EXPECT_FALSE(ReplaceFileDurably(folder.File("missing") + "/record.txt", "nowhere"));
}

}  // namespace
