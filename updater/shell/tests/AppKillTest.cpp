// An update killed hard right after a step it takes, then run again, ends as
// an uninterrupted one. The installation is killed after every step (each
// file's copy, its move into place, the deletion of its source, the deletion
// of the state file, the rewrite of Stock.ini): no file is ever torn,
// Stock.ini is always whole, and no temporary copy is left. The download is
// killed in the middle of bodies, after files are moved into place and after
// state-file blocks: the next run resumes and ends with every file and block;
// so is a download of patches and compressed files, also between a form's
// arrival and its decoding.
// The steps are reached deterministically: the test build of the program
// (koravel_killable) logs each step it completes and ends itself after the
// one a test names (kill/KillAtStep.cpp).
#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "ClientFolder.h"
#include "DeltaFixtures.h"
#include "KoravelProcess.h"
#include "OfferedForms.h"
#include "Md5.h"
#include "TestHttpServer.h"
#include "manifest/ManifestWriter.h"

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

std::string StepLogOf(const ClientFolder& client) { return client / "steps.txt"; }

// Koravel.exe of the test build in the client folder, started in `mode`,
// logging its steps and ending itself after `killAt` when given.
std::unique_ptr<KoravelProcess> StartKillable(const ClientFolder& client, const std::string& mode,
                                              const std::string& killAt) {
    DeleteFileA(StepLogOf(client).c_str());
    SetEnvironmentVariableA("KORAVEL_STEP_LOG", StepLogOf(client).c_str());
    SetEnvironmentVariableA("KORAVEL_KILL_AT", killAt.empty() ? nullptr : killAt.c_str());
    auto koravel = std::make_unique<KoravelProcess>(client.path(), mode);
    SetEnvironmentVariableA("KORAVEL_STEP_LOG", nullptr);
    SetEnvironmentVariableA("KORAVEL_KILL_AT", nullptr);
    return koravel;
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
    std::string stepLog() const { return StepLogOf(client_); }

    // Runs "Koravel.exe ForceUpdate", killed after `killAt` when given.
    // True when it ended as asked: killed there, or through to the end of
    // the installation and closed.
    bool Run(const std::string& killAt = std::string()) const {
        auto koravel = StartKillable(client_, "ForceUpdate", killAt);
        if (!koravel->started()) return false;
        if (!killAt.empty()) return koravel->WaitExit() && koravel->exitCode() == 99;
        if (!WaitFor([&] { return Steps().count("install.finished") == 1; })) return false;
        HWND dialog = koravel->FindDialog();
        if (dialog) SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        return koravel->WaitExit();
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

// Four files of 100 KiB from a server that answers ranges, with digests (a
// partial file is resumed across runs only for an item with one).
class DownloadClient {
public:
    DownloadClient() {
        CopyInto(HostPathToWindows(KORAVEL_KILLABLE_EXE), client_ / "Koravel.exe");
        std::vector<ManifestEntry> entries;
        for (int i = 0; i < 4; ++i) {
            const std::string name = "part" + std::to_string(i) + ".dat";
            const std::string body = Release(name, "served").substr(0, 100 * 1024);
            files_.push_back({name, body});
            server_.ServeVersions("/files/" + name, {{body, "\"v" + std::to_string(i) + "\"", ""}}, true);
            entries.push_back({{"FileName", name},
                               NumberField("Length", static_cast<int64_t>(body.size())),
                               {"MD5", Md5Text(body)},
                               {"URL", server_.Url("/files/" + name)}});
        }
        WriteWholeFile(client_.update("Update.xml"), ManifestText("2.0", entries));
        WriteWholeFile(client_ / "Stock.ini",
                       "[System]\r\nWebAddress=127.0.0.1:" + std::to_string(server_.Port()) + "\r\n");
    }

    // "Koravel.exe Download", killed after `killAt` when given; true when it
    // ended as asked.
    bool Run(const std::string& killAt = std::string()) const {
        auto koravel = StartKillable(client_, "Download", killAt);
        if (!koravel->started() || !koravel->WaitExit(60000)) return false;
        return killAt.empty() ? koravel->exitCode() != 99 : koravel->exitCode() == 99;
    }

    size_t BodyBytesSent() const {
        size_t sent = 0;
        for (const auto& file : files_) sent += server_.BodyBytesSent("/files/" + file.first);
        return sent;
    }

    // Bytes of the files that are on the disk: downloaded whole, or partly.
    size_t BytesOnDisk() const {
        size_t bytes = 0;
        for (const auto& file : files_) {
            const std::string path = client_.update(file.first);
            bytes += PathExists(path) ? ReadWholeFile(path).size() : ReadWholeFile(path + ".download").size();
        }
        return bytes;
    }

    // How many blocks of the state file record a download.
    size_t RecordedDownloads() const {
        const std::string state = ReadWholeFile(client_.update("QMUpdateFileList.txt"));
        size_t recorded = 0;
        for (size_t at = state.find("DOWNLOADSTATUS TRUE"); at != std::string::npos;
             at = state.find("DOWNLOADSTATUS TRUE", at + 1))
            ++recorded;
        return recorded;
    }

    const ClientFolder& client() const { return client_; }
    const std::vector<std::pair<std::string, std::string>>& files() const { return files_; }

private:
    ClientFolder client_;
    TestHttpServer server_;
    std::vector<std::pair<std::string, std::string>> files_;
};

// Each kill leaves bytes on the disk (part of a body, whole files, blocks);
// the next run fetches exactly the rest and records every file.
TEST(DownloadKillTest, ADownloadKilledInItsStepsEndsWholeOnTheNextRunFetchingOnlyTheRest) {
    const size_t total = 4 * 100 * 1024;
    const char* const killPoints[] = {
        "download.chunk-written#1",   // the first body just begun
        "download.chunk-written#6",   // half of the first body
        "download.chunk-written#13",  // the first body whole, not yet moved into place
        "download.moved#1",           // the first file in place, its block not written
        "statefile.block-written#1",  // the first file recorded
        "download.chunk-written#30",  // in the middle of the third body
        "download.moved#4",           // every file in place, the last block missing
    };
    for (const char* killAt : killPoints) {
        SCOPED_TRACE(std::string("killed after ") + killAt);
        DownloadClient client;
        ASSERT_TRUE(client.Run(killAt)) << "the run was not killed there";
        const size_t onDisk = client.BytesOnDisk();
        EXPECT_GT(onDisk, 0u);
        const size_t sentBefore = client.BodyBytesSent();
        ASSERT_TRUE(client.Run()) << "the next run did not end";

        for (const auto& file : client.files()) {
            const std::string path = client.client().update(file.first);
            EXPECT_EQ(ReadWholeFile(path), file.second) << file.first;
            EXPECT_FALSE(PathExists(path + ".download")) << file.first;
            EXPECT_FALSE(PathExists(path + ".download.validator")) << file.first;
        }
        EXPECT_EQ(client.RecordedDownloads(), client.files().size());
        EXPECT_EQ(client.BodyBytesSent() - sentBefore, total - onDisk) << "fetched again";
    }
}

// Two items offered as smaller forms: one patched from the installed copy
// (a single chunk), one compressed (no copy installed; several chunks). A
// kill in the middle of a form, with a form whole but not decoded, with a
// file decoded but not recorded: the next run ends with both files recorded,
// no form's file left, only what was missing of a form fetched, and the
// whole files never asked for.
TEST(DownloadKillTest, ADownloadOfPatchesAndCompressedFilesKilledInItsStepsEndsWholeOnTheNextRun) {
    const std::string older = OlderFile(), newer = NewerFile();
    const std::string patch = NewerPatchFromOlder(), compressed = NewerCompressed();
    const char* const killPoints[] = {
        "download.moved#1",           // the patch whole, not decoded
        "download.form-decoded#1",    // the first file decoded, its block not written
        "statefile.block-written#1",  // the first file recorded
        "download.chunk-written#3",   // in the middle of the compressed file
        "download.moved#2",           // the compressed file whole, not decoded
        "download.form-decoded#2",    // the second file decoded, its block not written
    };
    for (const char* killAt : killPoints) {
        SCOPED_TRACE(std::string("killed after ") + killAt);
        ClientFolder client;
        TestHttpServer server;
        CopyInto(HostPathToWindows(KORAVEL_KILLABLE_EXE), client / "Koravel.exe");
        WriteWholeFile(client / "patched.dat", older);
        std::vector<ManifestEntry> entries;
        for (const char* name : {"patched.dat", "compressed.dat"}) {
            const std::string file = std::string("/files/") + name;
            server.Serve(file, newer);
            server.ServeVersions(file + ".zst", {{compressed, "\"z\"", ""}}, true);
            server.ServeVersions(file + ".zpatch", {{patch, "\"p\"", ""}}, true);
            entries.push_back(ItemWithForms(name, server.Url(file), newer,
                                            OfferedForms{server.Url(file + ".zst"), compressed,
                                                         server.Url(file + ".zpatch"), patch, older}));
        }
        WriteWholeFile(client.update("Update.xml"), ManifestText("2.0", entries));
        WriteWholeFile(client / "Stock.ini",
                       "[System]\r\nWebAddress=127.0.0.1:" + std::to_string(server.Port()) + "\r\n");
        auto run = [&](const std::string& kill) {
            auto koravel = StartKillable(client, "Download", kill);
            if (!koravel->started() || !koravel->WaitExit(60000)) return false;
            return kill.empty() ? koravel->exitCode() != 99 : koravel->exitCode() == 99;
        };
        ASSERT_TRUE(run(killAt)) << "the run was not killed there";
        // What the next run still has to fetch of each form: nothing once
        // the file is decoded or the form whole, else the rest of its partial file.
        const struct {
            const char* name;
            std::string form;
            const std::string& bytes;
        } items[] = {{"patched.dat", ".zpatch", patch}, {"compressed.dat", ".zst", compressed}};
        size_t rest = 0, sentBefore = 0;
        for (const auto& item : items) {
            const std::string path = client.update(item.name);
            const std::string target = std::string("/files/") + item.name + item.form;
            sentBefore += server.BodyBytesSent(target);
            if (ReadWholeFile(path) == newer || PathExists(path + item.form)) continue;
            rest += item.bytes.size() - ReadWholeFile(path + item.form + ".download").size();
        }
        ASSERT_TRUE(run("")) << "the next run did not end";
        EXPECT_EQ(server.BodyBytesSent("/files/patched.dat.zpatch") + server.BodyBytesSent("/files/compressed.dat.zst") -
                      sentBefore,
                  rest)
            << "fetched again";

        const std::string state = ReadWholeFile(client.update("QMUpdateFileList.txt"));
        for (const char* name : {"patched.dat", "compressed.dat"}) {
            const std::string path = client.update(name);
            EXPECT_TRUE(ReadWholeFile(path) == newer) << name;
            for (const char* suffix : {".download", ".download.validator", ".zpatch", ".zst", ".zpatch.download",
                                       ".zpatch.download.validator", ".zst.download", ".zst.download.validator"}) {
                EXPECT_FALSE(PathExists(path + suffix)) << name << suffix;
            }
            EXPECT_EQ(server.RequestCount(std::string("/files/") + name), 0) << name;
        }
        EXPECT_EQ(server.RequestCount("/files/compressed.dat.zpatch"), 0);
        EXPECT_EQ(server.RequestCount("/files/patched.dat.zst"), 0);
        size_t recorded = 0;
        for (size_t at = state.find("DOWNLOADSTATUS TRUE"); at != std::string::npos;
             at = state.find("DOWNLOADSTATUS TRUE", at + 1))
            ++recorded;
        EXPECT_EQ(recorded, 2u);
    }
}

}  // namespace
