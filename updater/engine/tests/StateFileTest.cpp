#include "TestFiles.h"
#include "StateFile.h"
#include "StateFileWriter.h"

#include <gtest/gtest.h>

namespace {

UpdateItem Planned(const std::string& name, const std::string& sub) {
    UpdateItem item;
    item.fileName = name;
    item.downloadPath = "C:\\Client\\Update\\\\" + name;
    item.installPath = "C:\\Client\\" + name;
    item.subPath = sub;
    item.length = 0x100000005LL;  // only the low 32 bits are written
    item.url = "http://h/" + name;
    return item;
}

TEST(StateFile, WritesHeaderAndBlocksByteForByte) {
    ScratchFolder folder;
    std::string path = StateFilePath(folder.Path());
    EXPECT_EQ(path, folder.Path() + "/QMUpdateFileList.txt");
    {
        StateFileWriter writer(path, 2, 20240305, 93005);
        ASSERT_TRUE(writer.IsOpen());
        UpdateItem first = Planned("a.dll", "");
        first.registerFile = true;
        writer.WriteBlock(first, true);
        UpdateItem second = Planned("b.exe", "C:\\Client\\sub");
        second.execute = true;
        second.zipFile = true;
        second.length = -1;
        writer.WriteBlock(second, false);
    }
    EXPECT_EQ(ReadWholeFile(path),
              "VERSION 0.0.0.1\r\n\r\nUPDATED FALSE\r\nUPDATECOUNT 2\r\nDOWNLOAD 20240305/93005\r\n\r\n"
              "BEGIN\r\nSRCFILE C:\\Client\\Update\\\\a.dll\r\nDESTFILE C:\\Client\\a.dll\r\nFILENAME a.dll\r\n"
              "SUBPATH \r\nFILESIZE 5\r\nURL http://h/a.dll\r\nREGISTER TRUE\r\nFILETYPE NORMAL\r\n"
              "ISZIP FALSE\r\nDOWNLOADSTATUS TRUE\r\nEND\r\n\r\n"
              "BEGIN\r\nSRCFILE C:\\Client\\Update\\\\b.exe\r\nDESTFILE C:\\Client\\b.exe\r\nFILENAME b.exe\r\n"
              "SUBPATH C:\\Client\\sub\r\nFILESIZE -1\r\nURL http://h/b.exe\r\nREGISTER FALSE\r\n"
              "FILETYPE EXECUTE\r\nISZIP TRUE\r\nDOWNLOADSTATUS FALSE\r\nEND\r\n\r\n");
}

TEST(StateFile, ReaderReturnsOnlyDownloadedBlocks) {
    ScratchFolder folder;
    std::string path = StateFilePath(folder.Path());
    {
        StateFileWriter writer(path, 3, 20240305, 120000);
        writer.WriteBlock(Planned("a.dll", ""), true);
        writer.WriteBlock(Planned("b.dll", ""), false);
        writer.WriteBlock(Planned("c.dll", ""), true);
    }
    std::vector<FileListEntry> entries;
    ASSERT_TRUE(ReadFileList(path.c_str(), &entries));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].fileName, "a.dll");
    EXPECT_EQ(entries[0].sourcePath, "C:\\Client\\Update\\\\a.dll");
    EXPECT_EQ(entries[0].destinationPath, "C:\\Client\\a.dll");
    EXPECT_TRUE(entries[0].downloaded);
    EXPECT_EQ(entries[1].fileName, "c.dll");
}

TEST(StateFile, ReaderToleratesCaseTabsCommentsAndMissingStatus) {
    ScratchFolder folder;
    std::string path = folder.File("list.txt");
    WriteWholeFile(path,
                   "VERSION 0.0.0.1\n"
                   "SRCFILE outside-a-block\n"
                   "begin\n"
                   "srcfile\tC:\\u\\a.dll  \n"
                   "# a comment between BEGIN and END\n"
                   "DestFile   C:\\c\\a.dll\n"
                   "filename a.dll\n"
                   "downloadstatus yes\n"
                   "end\n"
                   "BEGIN\r\n"
                   "SRCFILE C:\\u\\b.dll\r\n"
                   "END\r\n"
                   "BEGIN\n"
                   "SRCFILE C:\\u\\c.dll\n"
                   "DOWNLOADSTATUS no\n"
                   "END\n"
                   "BEGIN\n"
                   "SRCFILE C:\\u\\d.dll\n"
                   "DESTFILE C:\\c\\d.dll");
    std::vector<FileListEntry> entries;
    entries.push_back(FileListEntry{"kept", "kept", "kept", true});
    ASSERT_TRUE(ReadFileList(path.c_str(), &entries));
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].sourcePath, "kept");
    EXPECT_EQ(entries[1].sourcePath, "C:\\u\\a.dll  ");  // tab skipped, trailing blanks kept
    EXPECT_EQ(entries[1].destinationPath, "C:\\c\\a.dll");
    EXPECT_EQ(entries[1].fileName, "a.dll");
    EXPECT_EQ(entries[2].sourcePath, "C:\\u\\b.dll");  // no DOWNLOADSTATUS: downloaded
    EXPECT_TRUE(entries[2].downloaded);
}

TEST(StateFile, AnUncreatableFileRecordsNothing) {
    ScratchFolder folder;
    StateFileWriter writer(StateFilePath(folder.File("no-such-folder")), 1, 20240305, 120000);
    EXPECT_FALSE(writer.IsOpen());
    writer.WriteBlock(Planned("a.dll", ""), true);
    EXPECT_FALSE(PathExists(folder.File("no-such-folder")));
}

TEST(StateFile, MissingFileIsFalseAndLeavesEntries) {
    ScratchFolder folder;
    std::vector<FileListEntry> entries(1);
    EXPECT_FALSE(ReadFileList(folder.File("none.txt").c_str(), &entries));
    EXPECT_EQ(entries.size(), 1u);
}

}  // namespace
