// An installation killed hard right after any step it takes (each file's
// copy, its move into place, the deletion of its source, the deletion of the
// state file, the rewrite of Stock.ini), then run again, ends as an
// uninterrupted one: no file is ever torn, Stock.ini is always whole, and no
// temporary copy is left. The steps are reached deterministically: the test
// build of the program (koravel_killable) logs each step it completes and
// ends itself after the one a test names (kill/KillAtStep.cpp).
#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "ClientFolder.h"
#include "KoravelProcess.h"

namespace {

// libiconv2.dll is one of the updater's own files, installed beside its
// original as libiconv2.dll.update.
const char* const kFiles[] = {"quote.dat", "Formula.dat", "libiconv2.dll"};
const int kSettingsSections = 26;

// Distinct bytes per file and release, large enough that a torn copy shows.
std::string Release(const std::string& name, const std::string& release) {
    std::string bytes;
    bytes.reserve(300 * 1024);
    unsigned state = 2166136261u;
    for (char c : name + release) state = (state ^ static_cast<unsigned char>(c)) * 16777619u;
    while (bytes.size() < 300 * 1024) {
        state = state * 1103515245u + 12345u;
        bytes.push_back(static_cast<char>(state >> 16));
    }
    return bytes;
}

std::string ClientSettings() {
    std::string text = "[System]\r\nWebAddress=http://127.0.0.1/\r\nUpdate=TRUE\r\n";
    for (int i = 0; i < kSettingsSections; ++i)
        text += "[Window" + std::to_string(i) + "]\r\nLeft=" + std::to_string(i) + "\r\nTop=" + std::to_string(2 * i) +
                "\r\n";
    return text;
}

testing::AssertionResult SettingsWhole(const std::string& ini) {
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, ini.c_str());
    for (int i = 0; i < kSettingsSections; ++i) {
        std::string section = "Window" + std::to_string(i);
        if (static_cast<int>(GetPrivateProfileIntA(section.c_str(), "Top", -1, ini.c_str())) != 2 * i)
            return testing::AssertionFailure() << section << " is lost (" << ReadWholeFile(ini).size() << " bytes)";
    }
    char address[64] = {};
    GetPrivateProfileStringA("System", "WebAddress", "", address, sizeof address, ini.c_str());
    if (std::string(address) != "http://127.0.0.1/") return testing::AssertionFailure() << "WebAddress is lost";
    return testing::AssertionSuccess();
}

// The names in a folder, files and folders alike.
std::set<std::string> Listing(const std::string& folder) {
    std::set<std::string> names;
    WIN32_FIND_DATAA found;
    FindHandle search(FindFirstFileA((folder + "\\*").c_str(), &found));
    if (!search) return names;
    do {
        std::string name = found.cFileName;
        if (name != "." && name != "..") names.insert(name);
    } while (FindNextFileA(search.Get(), &found));
    return names;
}

std::string InstalledAs(const ClientFolder& client, const std::string& name) {
    return name == "libiconv2.dll" ? client / "libiconv2.dll.update" : client / name;
}

// A client folder whose installed files are of the old release, with the new
// release downloaded and recorded, and Update=TRUE.
class KillableClient {
public:
    KillableClient() {
        CopyInto(HostPathToWindows(KORAVEL_KILLABLE_EXE), client_ / "Koravel.exe");
        std::vector<StateEntry> entries;
        for (const char* name : kFiles) entries.push_back({name});
        client_.StageDownloads(entries);
        for (const char* name : kFiles) {
            WriteWholeFile(client_ / name, Release(name, "old"));
            WriteWholeFile(client_.update(name), Release(name, "new"));
        }
        WriteWholeFile(client_ / "Stock.ini", ClientSettings());
    }

    const ClientFolder& client() const { return client_; }
    std::string stepLog() const { return client_ / "steps.txt"; }

    // Runs "Koravel.exe ForceUpdate", killed after `killAt` when given.
    // True when it ended as asked: killed there, or through to the end of
    // the installation and closed.
    bool Run(const std::string& killAt = std::string()) const {
        DeleteFileA(stepLog().c_str());
        SetEnvironmentVariableA("KORAVEL_STEP_LOG", stepLog().c_str());
        SetEnvironmentVariableA("KORAVEL_KILL_AT", killAt.empty() ? nullptr : killAt.c_str());
        KoravelProcess koravel(client_.path(), "ForceUpdate");
        SetEnvironmentVariableA("KORAVEL_STEP_LOG", nullptr);
        SetEnvironmentVariableA("KORAVEL_KILL_AT", nullptr);
        if (!koravel.started()) return false;
        if (!killAt.empty()) return koravel.WaitExit() && koravel.exitCode() == 99;
        if (!WaitFor([&] { return Steps().count("install.finished") == 1; })) return false;
        HWND dialog = koravel.FindDialog();
        if (dialog) SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        return koravel.WaitExit();
    }

    // Each step of the last run as "<step>#<n>" for its n-th completion.
    std::multiset<std::string> Steps() const { return Numbered(StepLines()); }
    std::vector<std::string> StepLines() const {
        std::vector<std::string> lines;
        std::istringstream text(ReadWholeFile(stepLog()));
        for (std::string line; std::getline(text, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (!line.empty()) lines.push_back(line);
        }
        return lines;
    }
    static std::multiset<std::string> Numbered(const std::vector<std::string>& lines) {
        std::multiset<std::string> steps;
        for (const std::string& line : lines) steps.insert(line);
        return steps;
    }

    // No installed file is torn: each holds its old or its new release whole.
    testing::AssertionResult NothingTorn() const {
        for (const char* name : kFiles) {
            std::string target = InstalledAs(client_, name);
            if (!PathExists(target)) continue;  // a side copy not made yet
            std::string bytes = ReadWholeFile(target);
            if (bytes != Release(name, "old") && bytes != Release(name, "new"))
                return testing::AssertionFailure() << target << " is torn (" << bytes.size() << " bytes)";
        }
        return SettingsWhole(client_ / "Stock.ini");
    }

private:
    ClientFolder client_;
};

// The steps of an uninterrupted installation, each as "<step>#<n>".
std::vector<std::string> KillPoints(const std::vector<std::string>& lines) {
    std::map<std::string, int> seen;
    std::vector<std::string> points;
    for (const std::string& line : lines)
        if (line != "install.finished") points.push_back(line + "#" + std::to_string(++seen[line]));
    return points;
}

TEST(AppKillTest, AnInstallationKilledAfterAnyStepEndsAsAnUninterruptedOneOnTheNextRun) {
    KillableClient reference;
    ASSERT_TRUE(reference.Run());
    const std::vector<std::string> points = KillPoints(reference.StepLines());
    const std::set<std::string> finalFolder = Listing(reference.client().path());
    const std::set<std::string> finalUpdate = Listing(reference.client() / "Update");
    ASSERT_EQ(reference.client().UpdateFlag(), "FALSE");
    ASSERT_TRUE(reference.NothingTorn());

    // Every step that changes the disk is a kill point: per file its copy, its
    // move and its source's deletion, then the state file and Stock.ini.
    std::multiset<std::string> kinds;
    for (const std::string& point : points) kinds.insert(point.substr(0, point.find('#')));
    for (const char* step : {"install.copy-written", "install.copy-moved", "install.source-deleted"})
        EXPECT_EQ(kinds.count(step), std::size(kFiles)) << step;
    EXPECT_EQ(kinds.count("install.state-file-deleted"), 1u);
    EXPECT_GE(kinds.count("settings.copy-moved"), 1u);

    for (const std::string& point : points) {
        SCOPED_TRACE("killed after " + point);
        KillableClient client;
        ASSERT_TRUE(client.Run(point)) << "the run was not killed there";
        EXPECT_TRUE(client.NothingTorn());

        ASSERT_TRUE(client.Run()) << "the next run did not finish";
        EXPECT_TRUE(client.NothingTorn());
        for (const char* name : kFiles) {
            EXPECT_EQ(ReadWholeFile(InstalledAs(client.client(), name)), Release(name, "new")) << name;
        }
        EXPECT_EQ(client.client().UpdateFlag(), "FALSE");
        EXPECT_EQ(Listing(client.client().path()), finalFolder);
        EXPECT_EQ(Listing(client.client() / "Update"), finalUpdate);
    }
}

}  // namespace
