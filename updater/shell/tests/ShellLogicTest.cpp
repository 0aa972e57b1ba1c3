// The shell's rules that need no window: mode words and install targets.
#include <gtest/gtest.h>

#include "InstallTarget.h"
#include "RunMode.h"

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
