// A client installation for one test: Koravel.exe and the test client as
// Stock.exe in a scratch folder, with its Update folder.
#pragma once

#include <string>
#include <vector>

#include "TestSupport.h"

struct StateEntry {
    std::string fileName;
    bool downloaded = true;
};

class ClientFolder {
public:
    ClientFolder();
    const std::string& path() const { return folder_.Path(); }
    std::string operator/(const std::string& name) const { return folder_.File(name); }
    std::string update(const std::string& name) const { return folder_.File("Update\\" + name); }

    void AddResourceLibrary() const;
    // Writes the state file for downloaded copies in Update\ of files that
    // belong in the client folder, and the copies themselves.
    void StageDownloads(const std::vector<StateEntry>& entries) const;
    std::string UpdateFlag() const;

private:
    ScratchFolder folder_;
};
