// The folders of a client installation the engine works on: the program
// folder and its Update folder below the benchmark's work folder.
#pragma once

#include "manifest/ManifestWriter.h"

#include <string>
#include <vector>

struct ClientFolder {
    std::string program;  // without a trailing backslash, as the engine keeps it
    std::string update;   // with a trailing backslash

    // Creates work\client and work\client\Update.
    static bool Create(const std::string& work, ClientFolder* folder);
};

// One manifest item of the benchmarks: the file's name, version (empty for
// none), length, date (YYYYMMDD) and address, installed in the client folder.
ManifestEntry BenchItem(const std::string& fileName, const std::string& fileVersion, long long length, int date,
                        const std::string& url);

// Writes the client's Update\Update.xml; false when it cannot be written.
bool WriteBenchManifest(const ClientFolder& folder, const std::vector<ManifestEntry>& entries);
