#include "ClientFolder.h"
#include "plan/LocalFileInfo.h"
#include "Support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <ctime>
#include <thread>

namespace {

TEST(Support, FileExistsFindsFilesAndWildcardMatches) {
    ClientFolder client;
    WriteWholeFile(client.InProgram("a.txt"), "a");
    EXPECT_TRUE(FileExists(client.InProgram("a.txt").c_str()));
    EXPECT_TRUE(FileExists(client.InProgram("*.txt").c_str()));
    EXPECT_FALSE(FileExists(client.InProgram("*.dll").c_str()));
    EXPECT_FALSE(FileExists(client.InProgram("b.txt").c_str()));
    EXPECT_FALSE(FileExists(nullptr));
    EXPECT_FALSE(FileExists(std::string(400, 'x').c_str()));
}

TEST(Support, CreatesEveryFolderLevel) {
    ClientFolder client;
    CreateDirectoriesAnySeparator((client.InProgram("a\\b/c") + "\\").c_str());
    EXPECT_TRUE(PathExists(client.InProgram("a\\b\\c")));
    CreateDirectoriesAnySeparator(client.InProgram("d\\e\\file.txt").c_str());
    EXPECT_TRUE(PathExists(client.InProgram("d\\e")));
    EXPECT_FALSE(PathExists(client.InProgram("d\\e\\file.txt")));
    EXPECT_TRUE(CreateDirectoriesBackslash(client.InProgram("f\\g").c_str()));
    EXPECT_TRUE(PathExists(client.InProgram("f\\g")));
    EXPECT_FALSE(CreateDirectoriesBackslash(client.InProgram("f\\g").c_str()));  // already there
}

TEST(Support, ProgramFolderHoldsTheTestProgramsLibraries) {
    char folder[MAX_PATH];
    ASSERT_TRUE(GetProgramFolder(folder));
    std::string text = folder;
    EXPECT_NE(text.back(), '\\');
    EXPECT_TRUE(FileExists((text + "\\kvtest_ver1009.dll").c_str()));
}

TEST(Support, VersionTextOfAFile) {
    VS_FIXEDFILEINFO info;
    ASSERT_TRUE(ReadVersionBlock(TestLibrary("kvtest_ver1009.dll").c_str(), &info));
    EXPECT_EQ(FileVersionText(info), "1.0.0.9");
    VersionBlock block;
    ASSERT_TRUE(ReadVersionBlock(TestLibrary("kvtest_ver1001.dll").c_str(), &block));
    EXPECT_EQ(FileVersionText(block), "1.0.0.1");
    EXPECT_EQ(ProductVersionText(block), "1.0.0.1");
    EXPECT_FALSE(ReadVersionBlock(TestLibrary("kvtest_noversion.dll").c_str(), &block));
    EXPECT_FALSE(ReadVersionBlock(TestLibrary("missing.dll").c_str(), &block));
}

TEST(Support, TodayAndNowFollowTheLocalClock) {
    std::time_t before = std::time(nullptr);
    int today = Today();
    int now = Now();
    std::time_t after = std::time(nullptr);
    if (std::localtime(&before)->tm_mday != std::localtime(&after)->tm_mday) GTEST_SKIP() << "midnight passed";
    const std::tm* local = std::localtime(&before);
    EXPECT_EQ(today, (local->tm_year + 1900) * 10000 + (local->tm_mon + 1) * 100 + local->tm_mday);
    int seconds = now / 10000 * 3600 + now / 100 % 100 * 60 + now % 100;
    int expected = local->tm_hour * 3600 + local->tm_min * 60 + local->tm_sec;
    EXPECT_LE(expected, seconds);
    EXPECT_LE(seconds - expected, static_cast<int>(after - before) + 1);
}

TEST(Support, RunProgramStartsTheProcessAndHandsOverItsHandle) {
    HANDLE process = RunProgram(nullptr, "cmd.exe", "/c exit 7");
    ASSERT_NE(process, nullptr);
    ASSERT_EQ(WaitForSingleObject(process, 30000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    EXPECT_EQ(code, 7u);
    CloseHandle(process);
}

// Closes the message boxes this process shows, as a user pressing OK would.
BOOL CALLBACK CloseOwnMessageBox(HWND window, LPARAM) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (owner == GetCurrentProcessId() && lstrcmpA(className, "#32770") == 0 && IsWindowVisible(window))
        PostMessageA(window, WM_CLOSE, 0, 0);
    return TRUE;
}

TEST(Support, RunProgramOfAMissingFileGivesNoProcess) {
    // With a display, the shell tells the user in a box of its own; the call
    // returns once it is closed.
    std::atomic<bool> returned{false};
    HANDLE process = INVALID_HANDLE_VALUE;
    std::thread caller([&] {
        process = RunProgram(nullptr, "no-such-program.exe", "");
        returned = true;
    });
    for (int waited = 0; !returned && waited < 30000; waited += 100) {
        EnumWindows(CloseOwnMessageBox, 0);
        Sleep(100);
    }
    caller.join();
    EXPECT_EQ(process, nullptr);
}

TEST(LocalFileInfo, ReadsLengthVersionAndDate) {
    ClientFolder client;
    std::string installed = client.InProgram("tool.dll");
    ASSERT_TRUE(CopyFileA(TestLibrary("kvtest_ver1009.dll").c_str(), installed.c_str(), FALSE));
    SetModifiedDate(installed, 2021, 3, 4);
    UpdateItem record(installed);
    ASSERT_TRUE(ReadLocalInfo(&record));
    EXPECT_EQ(record.fileName, "tool.dll");
    EXPECT_EQ(record.length, static_cast<int64_t>(ReadWholeFile(installed).size()));
    EXPECT_EQ(record.fileVersion, "1.0.0.9");
    EXPECT_EQ(record.itemDate, 20210304);

    std::string plain = client.InProgram("plain.txt");
    WriteWholeFile(plain, "text");
    SetModifiedDate(plain, 2020, 12, 31);
    UpdateItem plainRecord(plain);
    ASSERT_TRUE(ReadLocalInfo(&plainRecord));
    EXPECT_EQ(plainRecord.fileVersion, "");
    EXPECT_EQ(plainRecord.itemDate, 20201231);

    UpdateItem missing(client.InProgram("none.txt"));
    EXPECT_FALSE(ReadLocalInfo(&missing));
    UpdateItem empty;
    EXPECT_FALSE(ReadLocalInfo(&empty));
}

}  // namespace
