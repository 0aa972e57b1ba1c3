#include "TestFiles.h"
#include "statefile/StateFile.h"
#include "statefile/StateFileWriter.h"

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
        EXPECT_TRUE(writer.WriteBlock(first, true));
        UpdateItem second = Planned("b.exe", "C:\\Client\\sub");
        second.execute = true;
        second.zipFile = true;
        second.length = -1;
        EXPECT_TRUE(writer.WriteBlock(second, false));
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

// The writer's own guard, behind the planner's: a value with a line break
// would end its line early and start lines of its own, among them an END that
// closes the block with the default status TRUE.
TEST(StateFile, AValueWithALineBreakGetsNoBlock) {
    const std::string kHeader =
        "VERSION 0.0.0.1\r\n\r\nUPDATED FALSE\r\nUPDATECOUNT 3\r\nDOWNLOAD 20240305/120000\r\n\r\n";
    const struct {
        std::string UpdateItem::*field;
        const char* value;
    } cases[] = {
        {&UpdateItem::url, "http://h/a\nEND\nBEGIN\nSRCFILE C:\\x\nDESTFILE C:\\Windows\\x.dll\nEND"},
        {&UpdateItem::url, "http://h/a\r"},
        {&UpdateItem::fileName, "a.dll\nEND"},
        {&UpdateItem::downloadPath, "C:\\u\\a.dll\r\nEND"},
        {&UpdateItem::installPath, "C:\\c\\a.dll\nEND"},
        {&UpdateItem::subPath, "\nEND"},
    };
    for (const auto& c : cases) {
        ScratchFolder folder;
        std::string path = StateFilePath(folder.Path());
        {
            StateFileWriter writer(path, 3, 20240305, 120000);
            UpdateItem injected = Planned("a.dll", "");
            injected.*c.field = c.value;
            EXPECT_FALSE(writer.WriteBlock(injected, false)) << c.value;
            EXPECT_TRUE(writer.WriteBlock(Planned("b.dll", ""), true));
        }
        std::vector<FileListEntry> entries;
        ASSERT_TRUE(ReadFileList(path.c_str(), &entries));
        ASSERT_EQ(entries.size(), 1u) << c.value;
        EXPECT_EQ(entries[0].fileName, "b.dll");
        EXPECT_EQ(ReadWholeFile(path).find("a.dll"), std::string::npos) << c.value;
        EXPECT_EQ(ReadWholeFile(path).rfind(kHeader + "BEGIN\r\nSRCFILE C:\\Client\\Update\\\\b.dll\r\n", 0), 0u);
    }
}

// The reader's buffer holds 511 bytes of a line; what lies beyond is the same
// line and never a keyword line of its own.
TEST(StateFile, TheTailOfAnOverlongLineIsNoLine) {
    auto LineOf = [](const std::string& start, size_t length) { return start + std::string(length - start.size(), 'x'); };
    const std::string longUrl = LineOf("URL http://h/", 511);
    ScratchFolder folder;
    std::string path = folder.File("list.txt");
    WriteWholeFile(path,
                   // a failed item whose URL line runs on into "END": closed
                   // there, the block would keep its default status TRUE
                   "BEGIN\r\nSRCFILE C:\\u\\a.dll\r\nDESTFILE C:\\c\\a.dll\r\nFILENAME a.dll\r\n" + longUrl +
                   "END\r\nREGISTER FALSE\r\nDOWNLOADSTATUS FALSE\r\nEND\r\n\r\n"
                   // a long URL alone does not matter: the reader does not use it
                   "BEGIN\r\nSRCFILE C:\\u\\b.dll\r\nDESTFILE C:\\c\\b.dll\r\nFILENAME b.dll\r\n" +
                   longUrl + "yyyy\r\nDOWNLOADSTATUS TRUE\r\nEND\r\n"
                   // a cut destination is no destination: the block is dropped
                   "BEGIN\r\nSRCFILE C:\\u\\c.dll\r\n" + LineOf("DESTFILE C:\\c\\", 512) +
                   ".dll\r\nFILENAME c.dll\r\nEND\r\n"
                   // 511 bytes before CR LF are a whole line
                   "BEGIN\r\nSRCFILE C:\\u\\d.dll\r\n" + LineOf("DESTFILE C:\\c\\", 511) +
                   "\r\nFILENAME d.dll\r\nEND\r\n"
                   // so are 511 bytes before a lone line feed
                   "BEGIN\r\nSRCFILE C:\\u\\e.dll\r\n" + LineOf("DESTFILE C:\\c\\", 511) +
                   "\nFILENAME e.dll\nEND\n"
                   // a long comment is one comment
                   "BEGIN\r\nSRCFILE C:\\u\\f.dll\r\n" + LineOf("# ", 600) + "\r\nFILENAME f.dll\r\n" +
                   LineOf("# ", 511) + "END\r\nDOWNLOADSTATUS no\r\nEND\r\n");
    std::vector<FileListEntry> entries;
    ASSERT_TRUE(ReadFileList(path.c_str(), &entries));
    std::vector<std::string> names;
    for (const FileListEntry& entry : entries) names.push_back(entry.fileName);
    EXPECT_EQ(names, (std::vector<std::string>{"b.dll", "d.dll", "e.dll"}));
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[1].destinationPath, LineOf("DESTFILE C:\\c\\", 511).substr(9));
    EXPECT_EQ(entries[2].destinationPath, LineOf("DESTFILE C:\\c\\", 511).substr(9));
}

TEST(StateFile, AnUncreatableFileRecordsNothing) {
    ScratchFolder folder;
    StateFileWriter writer(StateFilePath(folder.File("no-such-folder")), 1, 20240305, 120000);
    EXPECT_FALSE(writer.IsOpen());
    EXPECT_FALSE(writer.WriteBlock(Planned("a.dll", ""), true));
    EXPECT_FALSE(PathExists(folder.File("no-such-folder")));
}

TEST(StateFile, MissingFileIsFalseAndLeavesEntries) {
    ScratchFolder folder;
    std::vector<FileListEntry> entries(1);
    EXPECT_FALSE(ReadFileList(folder.File("none.txt").c_str(), &entries));
    EXPECT_EQ(entries.size(), 1u);
}

}  // namespace
