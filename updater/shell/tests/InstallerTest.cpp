// Installation of the downloaded files: what is copied where, what is left,
// and the state that is cleared afterwards.
#include <gtest/gtest.h>

#include <vector>

#include "install/Installer.h"
#include "KernelHandles.h"
#include "TestSupport.h"

namespace {

class RecordingView : public InstallProgressView {
public:
    void SetRange(int count) override { events.push_back("range " + std::to_string(count)); }
    void SetPosition(int position) override { events.push_back("pos " + std::to_string(position)); }
    void EnableFinish(bool enabled) override { events.push_back(enabled ? "finish on" : "finish off"); }
    void SetDoneCaption() override { events.push_back("done"); }
    std::vector<std::string> events;
};

class InstallerTest : public ::testing::Test {
protected:
    void SetUp() override {
        CreateFolders(update());
        CreateFolders(client_.File("data"));
        WriteWholeFile(statePath(), "VERSION 0.0.0.1\r\n");
    }
    std::string update() const { return client_.File("Update"); }
    std::string updateFolder() const { return update() + "\\"; }
    std::string statePath() const { return update() + "\\QMUpdateFileList.txt"; }

    // A downloaded file and its installed counterpart.
    FileListEntry Stage(const std::string& name, bool downloaded = true) {
        FileListEntry entry;
        entry.sourcePath = update() + "\\" + name;
        entry.destinationPath = client_.File(name);
        entry.fileName = name;
        WriteWholeFile(entry.destinationPath, "old " + name);
        if (downloaded) WriteWholeFile(entry.sourcePath, "new " + name);
        return entry;
    }
    int Install(std::vector<FileListEntry>& list) {
        return InstallUpdates(list, view_, client_.Path().c_str(), updateFolder().c_str());
    }
    std::string UpdateFlag() const { return UpdateFlagIn(client_.Path()); }

    ScratchFolder client_;
    RecordingView view_;
};

}  // namespace

TEST_F(InstallerTest, MissingSourceInTheMiddleIsSkippedAndTheRestInstalled) {
    std::vector<FileListEntry> list = {Stage("a.dat"), Stage("b.dat", false), Stage("c.dat")};
    EXPECT_EQ(Install(list), 1);

    EXPECT_EQ(ReadWholeFile(client_.File("a.dat")), "new a.dat");
    EXPECT_EQ(ReadWholeFile(client_.File("b.dat")), "old b.dat");
    EXPECT_EQ(ReadWholeFile(client_.File("c.dat")), "new c.dat");
    EXPECT_FALSE(PathExists(update() + "\\a.dat"));
    EXPECT_FALSE(PathExists(update() + "\\c.dat"));
    EXPECT_FALSE(PathExists(statePath()));
    EXPECT_EQ(UpdateFlag(), "FALSE");
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(view_.events, (std::vector<std::string>{"range 3", "finish off", "pos 1", "pos 2", "pos 3", "finish on",
                                                      "done"}));
}

TEST_F(InstallerTest, UpdaterOwnFilesAreWrittenBesideTheInstalledOnes) {
    std::vector<FileListEntry> list = {Stage("KORAVELRC.DLL"), Stage("Koravel.exe"), Stage("libiconv2.dll"),
                                       Stage("Stock.exe")};
    EXPECT_EQ(Install(list), 1);
    for (const char* own : {"KORAVELRC.DLL", "Koravel.exe", "libiconv2.dll"}) {
        SCOPED_TRACE(own);
        EXPECT_EQ(ReadWholeFile(client_.File(own)), std::string("old ") + own);
        EXPECT_EQ(ReadWholeFile(client_.File(own) + ".update"), std::string("new ") + own);
    }
    EXPECT_EQ(ReadWholeFile(client_.File("Stock.exe")), "new Stock.exe");
    EXPECT_FALSE(PathExists(client_.File("Stock.exe.update")));
}

TEST_F(InstallerTest, EmptyListTouchesNothing) {
    std::vector<FileListEntry> list;
    EXPECT_EQ(Install(list), 0);
    EXPECT_TRUE(PathExists(statePath()));
    EXPECT_FALSE(PathExists(client_.File("Stock.ini")));
    EXPECT_TRUE(view_.events.empty());
}

// A run killed between deleting the state file and clearing the flag leaves
// Update=TRUE with nothing to install: the next installation clears it, and
// leaves the rest of Stock.ini as it was.
TEST_F(InstallerTest, EmptyListClearsAFlagLeftSetAndKeepsTheRest) {
    WriteWholeFile(client_.File("Stock.ini"), "[System]\r\nWebAddress=http://127.0.0.1/\r\nUpdate=TRUE\r\n");
    std::vector<FileListEntry> list;
    EXPECT_EQ(Install(list), 0);
    EXPECT_EQ(UpdateFlag(), "FALSE");
    char address[64] = {};
    GetPrivateProfileStringA("System", "WebAddress", "", address, sizeof address, client_.File("Stock.ini").c_str());
    EXPECT_STREQ(address, "http://127.0.0.1/");
    EXPECT_TRUE(view_.events.empty());
}

// A killed run may leave the temporary copy of a target behind; the next
// installation removes it, whether it installs that entry or not.
TEST_F(InstallerTest, TemporaryCopiesLeftByAKilledRunAreRemoved) {
    std::vector<FileListEntry> list = {Stage("a.dat"), Stage("b.dat", false), Stage("KoravelRC.dll")};
    for (const char* left : {"a.dat.installing", "b.dat.installing", "KoravelRC.dll.update.installing"})
        WriteWholeFile(client_.File(left), "half a copy");
    EXPECT_EQ(Install(list), 1);
    for (const char* left : {"a.dat.installing", "b.dat.installing", "KoravelRC.dll.update.installing"})
        EXPECT_FALSE(PathExists(client_.File(left))) << left;
    EXPECT_EQ(ReadWholeFile(client_.File("a.dat")), "new a.dat");
    EXPECT_EQ(ReadWholeFile(client_.File("KoravelRC.dll.update")), "new KoravelRC.dll");
}

TEST_F(InstallerTest, FailedCopyLeavesTheDestinationWholeAndTheSourceInPlace) {
    std::vector<FileListEntry> list = {Stage("quote.dat"), Stage("news.dat")};
    // The client still holds quote.dat open without sharing.
    FileHandle held(CreateFileA(client_.File("quote.dat").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held.IsValid());
    EXPECT_EQ(Install(list), 1);
    held.Reset();

    EXPECT_EQ(ReadWholeFile(client_.File("quote.dat")), "old quote.dat");
    EXPECT_EQ(ReadWholeFile(update() + "\\quote.dat"), "new quote.dat");
    EXPECT_EQ(ReadWholeFile(client_.File("news.dat")), "new news.dat");
    EXPECT_FALSE(PathExists(statePath()));
    EXPECT_EQ(UpdateFlag(), "FALSE");

    // No temporary copy is left behind beside the destinations.
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    FindHandle search(FindFirstFileA(client_.File("*.installing").c_str(), &found));
    if (search.IsValid()) {
        do names.push_back(found.cFileName);
        while (FindNextFileA(search.Get(), &found));
    }
    EXPECT_TRUE(names.empty()) << names.front();
}

// The state file is plain text that anyone can edit: an entry that takes its
// source from outside the update folder, or puts its file outside the program
// folder (also by way of ".."), is neither copied nor has its source deleted.
TEST_F(InstallerTest, EntriesOutsideTheirFoldersAreLeftAsTheyAre) {
    ScratchFolder outside;
    std::string parent = client_.Path().substr(0, client_.Path().rfind('\\'));
    ASSERT_EQ(outside.Path().substr(0, parent.size() + 1), parent + "\\");
    std::string outsideName = outside.Path().substr(parent.size() + 1);

    FileListEntry foreignSource;
    foreignSource.sourcePath = client_.File("Formula.dat");
    foreignSource.destinationPath = client_.File("copied.dat");
    foreignSource.fileName = "copied.dat";
    WriteWholeFile(foreignSource.sourcePath, "the user's formulas");

    FileListEntry absoluteElsewhere = Stage("evil.dll");
    absoluteElsewhere.destinationPath = outside.File("evil.dll");

    FileListEntry climbingOut = Stage("climb.dll");
    climbingOut.destinationPath = client_.Path() + "\\data\\..\\..\\" + outsideName + "\\climb.dll";

    FileListEntry sourceClimbingOut = Stage("up.dll");
    sourceClimbingOut.sourcePath = update() + "\\..\\up.dll";  // the installed file itself

    std::vector<FileListEntry> list = {foreignSource, absoluteElsewhere, climbingOut, sourceClimbingOut,
                                       Stage("fine.dll")};
    EXPECT_EQ(Install(list), 1);

    EXPECT_EQ(ReadWholeFile(client_.File("Formula.dat")), "the user's formulas");
    EXPECT_FALSE(PathExists(client_.File("copied.dat")));
    EXPECT_FALSE(PathExists(outside.File("evil.dll")));
    EXPECT_FALSE(PathExists(outside.File("climb.dll")));
    EXPECT_EQ(ReadWholeFile(client_.File("up.dll")), "old up.dll");
    for (const char* name : {"evil.dll", "climb.dll", "up.dll"}) {
        EXPECT_EQ(ReadWholeFile(update() + "\\" + name), std::string("new ") + name) << name;
    }
    EXPECT_EQ(ReadWholeFile(client_.File("fine.dll")), "new fine.dll");
    EXPECT_FALSE(PathExists(update() + "\\fine.dll"));
    EXPECT_FALSE(PathExists(statePath()));
    EXPECT_EQ(UpdateFlag(), "FALSE");
    EXPECT_EQ(view_.events, (std::vector<std::string>{"range 5", "finish off", "pos 1", "pos 2", "pos 3", "pos 4",
                                                      "pos 5", "finish on", "done"}));
}
