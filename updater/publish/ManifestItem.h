// One <File> item of the manifest, described from a release file.
#pragma once

#include "ReleaseFolder.h"

#include <cstdint>
#include <ostream>
#include <string>

struct ManifestItem {
    std::string fileName;     // GB2312
    std::string localPath;    // GB2312, '\\'-separated; empty for the top folder
    uint64_t length = 0;
    std::string md5;          // 32 uppercase hexadecimal digits
    std::string sha256;       // 64 lowercase hexadecimal digits
    std::string fileVersion;  // "a.b.c.d" of an .exe or .dll; empty when it has none
    int fileDateLow = 0;      // YYYYMMDD of the modification time, UTC
    std::string url;          // ASCII
};

// Reads the file for its size, digests and (for .exe and .dll) version.
// Notes that the publisher should know of (an image without a version
// resource, a size beyond the updater's counter) go to `notes`.
ManifestItem DescribeReleaseFile(const ReleaseFile& file, const std::string& baseUrl, std::ostream& notes);
