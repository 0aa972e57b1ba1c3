// One <File> item of the manifest, described from a release file.
#pragma once

#include "ReleaseFolder.h"
#include "manifest/ManifestWriter.h"

#include <ostream>
#include <string>

// The item's fields in the manifest's order: FileName (GB2312), FileVersion
// ("a.b.c.d" of an .exe or .dll that has one), Length, FileDateLow (YYYYMMDD
// of the modification time, UTC), LocalPath (GB2312, '\\'-separated; left
// out for the top folder, which the updater takes for the client folder),
// URL, MD5 (32 uppercase hexadecimal digits) and SHA256 (64 lowercase).
// Reads the file for its size, digests and (for .exe and .dll) version.
// Notes that the publisher should know of (an image without a version
// resource, a size beyond the updater's counter) go to `notes`.
ManifestEntry DescribeReleaseFile(const ReleaseFile& file, const std::string& baseUrl, std::ostream& notes);
