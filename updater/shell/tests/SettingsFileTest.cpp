// Stock.ini is the client's whole configuration: the updater's writes of its
// flag must never leave it torn, wherever the updater is killed.
#include "install/ClientFiles.h"
#include "install/SettingsFile.h"

#include "KernelHandles.h"
#include "TestFiles.h"
#include "TestSupport.h"
#include "WholeFile.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

// A client's settings: many sections, the flag among them.
std::string ClientSettings(int sections) {
    std::string text = "[System]\r\nWebAddress=http://127.0.0.1/update\r\nUpdate=FALSE\r\n";
    for (int i = 0; i < sections; ++i) {
        text += "[Window" + std::to_string(i) + "]\r\n";
        for (int k = 0; k < 12; ++k)
            text += "Key" + std::to_string(k) + "=" + std::string(40, static_cast<char>('a' + k)) + "\r\n";
    }
    return text;
}

std::string Setting(const std::string& path, const std::string& section, const std::string& key) {
    char value[128] = {};
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "<none>", value, sizeof value, path.c_str());
    return value;
}

// Every section and key of ClientSettings(sections) is there, with the flag
// set either way.
testing::AssertionResult HoldsWholeSettings(const std::string& path, int sections) {
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
    std::string flag = Setting(path, "System", "Update");
    if (flag != "TRUE" && flag != "FALSE") return testing::AssertionFailure() << "Update is " << flag;
    if (Setting(path, "System", "WebAddress") != "http://127.0.0.1/update")
        return testing::AssertionFailure() << "WebAddress is lost";
    for (int i = 0; i < sections; ++i)
        for (int k = 0; k < 12; ++k)
            if (Setting(path, "Window" + std::to_string(i), "Key" + std::to_string(k)) !=
                std::string(40, static_cast<char>('a' + k)))
                return testing::AssertionFailure() << "Window" << i << " Key" << k << " is lost ("
                                                   << ReadWholeFile(path).size() << " bytes left)";
    return testing::AssertionSuccess();
}

TEST(SettingsFileTest, SetsTheValueKeepsTheRestAndLeavesNoCopy) {
    ScratchFolder folder;
    std::string ini = folder.File("Stock.ini");
    WriteWholeFile(ini, ClientSettings(3));

    // Written through the lower-case name, as the updater does.
    ASSERT_TRUE(WriteSettingWhole(folder.File("stock.ini"), "System", "Update", "TRUE"));
    EXPECT_EQ(Setting(ini, "System", "Update"), "TRUE");
    EXPECT_TRUE(HoldsWholeSettings(ini, 3));
    EXPECT_FALSE(PathExists(ini + ".new"));
    EXPECT_FALSE(PathExists(folder.File("stock.ini.new")));
    // The file keeps the client's spelling of its name.
    WIN32_FIND_DATAA found;
    FindHandle search(FindFirstFileA(folder.File("*.ini").c_str(), &found));
    ASSERT_TRUE(search);
    EXPECT_STREQ(found.cFileName, "Stock.ini");
}

TEST(SettingsFileTest, CreatesAMissingFileAndReplacesACopyAKilledRunLeft) {
    ScratchFolder folder;
    std::string ini = folder.File("Stock.ini");
    WriteWholeFile(ini + ".new", "[Half");
    ASSERT_TRUE(WriteSettingWhole(ini, "System", "Update", "FALSE"));
    EXPECT_EQ(Setting(ini, "System", "Update"), "FALSE");
    EXPECT_FALSE(PathExists(ini + ".new"));
}

// A writer of the flag killed hard at random moments, many times: the file
// is always whole. Written in place, the same kills left it empty or cut.
TEST(SettingsFileTest, AWriterKilledAtAnyMomentLeavesTheWholeFile) {
    const int kSections = 26;
    ScratchFolder folder;
    std::string ini = folder.File("Stock.ini");
    WriteWholeFile(ini, ClientSettings(kSections));
    std::string writer = HostPathToWindows(KORAVEL_SETTINGS_WRITER);
    std::mt19937 random(20261210);

    for (int round = 0; round < 20; ++round) {
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        HANDLE readEnd = nullptr, writeEnd = nullptr;
        ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, &inherit, 0));
        KernelHandle output(readEnd), childOutput(writeEnd);
        SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = writeEnd;
        startup.hStdError = writeEnd;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        std::string commandLine = "\"" + writer + "\" \"" + folder.Path() + "\"";
        PROCESS_INFORMATION started{};
        ASSERT_TRUE(CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                                   &started));
        ProcessHandles child(started);
        childOutput.Reset();
        char word[8] = {};
        DWORD got = 0;
        ASSERT_TRUE(ReadFile(output.Get(), word, 7, &got, nullptr)) << "the writer did not start";
        Sleep(std::uniform_int_distribution<int>(0, 40)(random));
        TerminateProcess(child.process.Get(), 9);
        WaitForSingleObject(child.process.Get(), 10000);

        ASSERT_TRUE(HoldsWholeSettings(ini, kSections)) << "round " << round;
    }
}

}  // namespace
