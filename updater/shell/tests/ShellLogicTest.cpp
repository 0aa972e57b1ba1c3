// The shell's rules that need no window: mode words, install targets and the
// entries the installation acts on.
#include <gtest/gtest.h>

#include "plan/InstallTarget.h"
#include "install/InstallerScope.h"
#include "app/RunMode.h"

TEST(RunModeTest, ModeWordsMatchWholeInAnyLetterCase) {
    const struct {
        const char* text;
        RunMode expected;
    } cases[] = {
        {"Download", RUN_MODE_DOWNLOAD},
        {"DownloadWithGUI", RUN_MODE_DOWNLOAD_WITH_GUI},
        {"downloadwithgui", RUN_MODE_DOWNLOAD_WITH_GUI},
        {"Update", RUN_MODE_UPDATE},
        {"update", RUN_MODE_UPDATE},
        {"UPDATE", RUN_MODE_UPDATE},
        {"uPdAtE", RUN_MODE_UPDATE},
        {"DownloadAndUpdate", RUN_MODE_DOWNLOAD_AND_UPDATE},
        {"FORCEDOWNLOADANDUPDATE", RUN_MODE_FORCE_DOWNLOAD_AND_UPDATE},
        {"ForceUpdate", RUN_MODE_FORCE_UPDATE},
        {"ShowNoUpdateInfo", RUN_MODE_SHOW_NO_UPDATE_INFO},
        {"", RUN_MODE_NONE},
        {"Update ", RUN_MODE_NONE},
        {"Update Download", RUN_MODE_NONE},
        {" Update", RUN_MODE_NONE},
        {"Updat", RUN_MODE_NONE},
        {"Updates", RUN_MODE_NONE},
        {"Updata", RUN_MODE_NONE},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseRunMode(c.text), c.expected) << '"' << c.text << '"';
    EXPECT_EQ(ParseRunMode(nullptr), RUN_MODE_NONE);
}

TEST(InstallTargetTest, UpdaterOwnFilesGoBesideTheirDestination) {
    const struct {
        const char* fileName;
        const char* destination;
        const char* target;
    } cases[] = {
        {"Koravel.exe", "C:\\Q\\Koravel.exe", "C:\\Q\\Koravel.exe.update"},
        {"koravel.EXE", "C:\\Q\\koravel.EXE", "C:\\Q\\koravel.EXE.update"},
        {"KoravelRC.dll", "C:\\Q\\KoravelRC.dll", "C:\\Q\\KoravelRC.dll.update"},
        {"KORAVELRC.DLL", "C:\\Q\\KORAVELRC.DLL", "C:\\Q\\KORAVELRC.DLL.update"},
        {"libiconv2.dll", "C:\\Q\\libiconv2.dll", "C:\\Q\\libiconv2.dll.update"},
        {"Stock.exe", "C:\\Q\\Stock.exe", "C:\\Q\\Stock.exe"},
        {"Koravel.exe.bak", "C:\\Q\\Koravel.exe.bak", "C:\\Q\\Koravel.exe.bak"},
        {"KoravelRC.dl", "C:\\Q\\KoravelRC.dl", "C:\\Q\\KoravelRC.dl"},
    };
    for (const auto& c : cases) EXPECT_EQ(InstallTargetPath(c.destination, c.fileName), c.target) << c.fileName;
}

TEST(InstallerScopeTest, PathsAreJudgedByTheirResolvedText) {
    const char* const kFolder = "C:\\Client\\Update\\";
    const struct {
        const char* path;
        bool inside;
    } cases[] = {
        {"C:\\Client\\Update\\\\a.dll", true},  // as the engine writes it
        {"C:\\Client\\Update\\data\\cfg\\a.dll", true},
        {"c:\\client\\UPDATE\\a.dll", true},
        {"C:\\Client\\Update/data/a.dll", true},
        {"C:\\Client\\Update\\.\\a.dll", true},
        {"C:\\Client\\Update\\data\\..\\a.dll", true},
        {"C:\\Client\\Update\\..\\Stock.exe", false},
        {"C:\\Client\\Update\\data\\..\\..\\Stock.exe", false},
        {"C:\\Client\\Update\\..\\Update\\a.dll", false},  // leaves and comes back
        {"C:\\Client\\Update/../Stock.exe", false},
        {"C:\\Client\\Update\\.\\..\\Stock.exe", false},
        {"C:\\Client\\Update", false},
        {"C:\\Client\\Update\\", false},
        {"C:\\Client\\Update\\data\\..", false},
        {"C:\\Client\\UpdateX\\a.dll", false},
        {"C:\\Client\\a.dll", false},
        {"D:\\Client\\Update\\a.dll", false},
        {"\\\\?\\C:\\Client\\Update\\a.dll", false},
        {"C:\\Client\\Update\\a.dll:stream", false},
        {"C:\\Client\\Update\\...\\a.dll", false},
        {"C:\\Client\\Update\\.. \\a.dll", false},
        {"C:\\Client\\Update\\CON", false},
        {"C:\\Client\\Update\\*.dll", false},
        {"C:\\Client\\Update\\a\tb.dll", false},
        {"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(LiesInsideFolder(c.path, kFolder), c.inside) << c.path;
    EXPECT_FALSE(LiesInsideFolder("C:\\Client\\a.dll", ""));
    EXPECT_TRUE(LiesInsideFolder("C:\\Client\\a.dll", "C:\\Client"));
}

TEST(InstallerScopeTest, SourcesComeFromTheUpdateFolderAndGoToTheInstallFolders) {
    const InstallFolders folders{"C:\\Client", "C:\\Windows", "C:\\Windows\\system32", "C:\\Client\\Update\\"};
    const struct {
        const char* source;
        const char* destination;
        bool inScope;
    } cases[] = {
        {"C:\\Client\\Update\\\\a.dll", "C:\\Client\\a.dll", true},
        {"C:\\Client\\Update\\\\data\\a.xml", "C:\\Client\\data\\a.xml", true},
        {"C:\\Client\\Update\\\\a.dll", "C:\\Windows\\a.dll", true},
        {"C:\\Client\\Update\\\\a.dll", "C:\\Windows\\system32\\a.dll", true},
        {"C:\\Client\\Update\\\\a.dll", "C:\\Users\\x\\Start Menu\\a.exe", false},
        {"C:\\Client\\Update\\\\a.dll", "C:\\Client\\..\\Users\\a.exe", false},
        {"C:\\Client\\Update\\\\a.dll", "C:\\Windows\\system32\\..\\..\\a.exe", false},
        {"C:\\Client\\Stock.ini", "C:\\Client\\a.dll", false},  // its source would be deleted
        {"C:\\Users\\x\\secret.txt", "C:\\Client\\secret.txt", false},
        {"C:\\Client\\Update\\..\\Stock.exe", "C:\\Client\\b.exe", false},
        {"", "C:\\Client\\a.dll", false},
        {"C:\\Client\\Update\\\\a.dll", "", false},
    };
    for (const auto& c : cases) {
        FileListEntry entry{c.source, c.destination, "a.dll", true};
        EXPECT_EQ(IsEntryInScope(entry, folders), c.inScope) << c.source << " -> " << c.destination;
    }
}
