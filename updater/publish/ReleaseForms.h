// The other forms of a release file (docs/manifest-delta.md): written beside
// it, and listed in its manifest item after the whole file's fields.
#pragma once

#include "ReleaseFolder.h"
#include "manifest/ManifestWriter.h"

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

// Removes the forms an earlier run left beside the file, then writes
//  - "<name>.zst", the file compressed, when it is smaller than the file;
//  - for each earlier release (laid out as the release folder) that holds a
//    copy of the file with other bytes, "<name>.<base digest>.zpatch", the
//    file as a patch from that copy, when it is smaller than both; one patch
//    for copies with the same bytes.
// Returns the item's fields: CompressedURL, CompressedLength,
// CompressedSHA256, then PatchN BaseSHA256, BaseLength, URL, Length, SHA256
// numbered from 1. The URLs are `fileUrl` with the form's suffix. Forms the
// updater could not request, or whose base is too large, go to `notes`.
std::vector<ManifestField> WriteFileForms(const ReleaseFile& file, const std::string& fileUrl,
                                          const std::vector<std::filesystem::path>& previousReleases,
                                          std::ostream& notes);
