// Writes an update manifest (Update.xml) of the shape the engine reads: a
// root, its Product, one element per item with the item's fields.
#pragma once

#include <string>
#include <vector>

struct ManifestEntry {
    std::string fileName;
    std::string fileVersion;
    long long length = 0;
    int fileDate = 0;  // YYYYMMDD
    std::string url;
};

bool WriteManifest(const std::string& path, const std::vector<ManifestEntry>& entries);
