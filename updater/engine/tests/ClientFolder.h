// A client installation in a scratch folder: the program folder with its
// Update\ folder, the stand-in libraries, and the manifest written from items;
// and readers of what the updater leaves there (state file, log).
#pragma once

#include "Md5.h"
#include "manifest/ManifestWriter.h"
#include "run/UpdateEngine.h"
#include "statefile/StateFileWriter.h"
#include "TestFiles.h"

#include <string>
#include <utility>
#include <vector>

// Path of a stand-in library built beside the test program (e.g. "kvtest_ver1009.dll").
std::string TestLibrary(const std::string& fileName);

// Sets the file's last modification to noon, local time, of the given day.
void SetModifiedDate(const std::string& path, int year, int month, int day);

// The text of Update.xml for the entries, of the tests' product version.
std::string ManifestText(const std::vector<ManifestEntry>& entries);

// The statuses of the state file's blocks, as "name=TRUE|FALSE" in file order.
std::vector<std::string> BlockStatuses(const std::string& stateFile);

// The texts of the log's lines, each checked for its "YYYY-MM-DD hh:mm:ss "
// stamp and given without it.
std::vector<std::string> LogTexts(const std::string& path);
// The index of the first text from `from` on that starts with `prefix`, or -1.
int FindLog(const std::vector<std::string>& texts, const std::string& prefix, int from = 0);
// Whether a text of the log holds `part`.
bool LogHolds(const std::vector<std::string>& texts, const std::string& part);

class ClientFolder {
public:
    ClientFolder();

    const std::string& Program() const { return program_; }
    // Ends with a backslash, as the shell passes it.
    const std::string& Update() const { return update_; }
    std::string InProgram(const std::string& name) const { return program_ + "\\" + name; }
    std::string InUpdate(const std::string& name) const { return update_ + name; }
    std::string StateFile() const { return StateFilePath(update_); }

    void WriteManifest(const std::vector<ManifestEntry>& entries) const;

private:
    ScratchFolder scratch_;
    std::string program_;
    std::string update_;
};

// Runs the engine's steps in `client` from a thread of its own, as the shell
// does, and waits for its end: the server named by the client's Stock.ini,
// its folders, transfer time-outs of `timeoutMs`. Whatever else the test
// wants of the engine it sets before.
void RunEngineIn(const ClientFolder& client, UpdateEngine& engine, const EngineSteps& steps, HWND window,
                 DWORD timeoutMs);
