// Manifest items that offer their file compressed and as a patch, for the
// Windows tests of the updater's downloads (engine, nginx, kill tests).
#pragma once

#include "manifest/ManifestWriter.h"

#include <string>

// The SHA-256 of the bytes, as the manifest gives digests.
std::string Sha256OfBytes(const std::string& bytes);

// The forms an item offers besides its whole file, as the publisher lists
// them: each form's address and bytes, and the copy the patch applies to.
struct OfferedForms {
    std::string compressedUrl;
    std::string compressed;
    std::string patchUrl;
    std::string patch;
    std::string base;
};

// An item of `file`, to be downloaded whatever is installed (DownValue 1),
// with its Length, MD5 and SHA256 and the fields of both forms, digests and
// lengths those of the bytes given.
ManifestEntry ItemWithForms(const std::string& name, const std::string& url, const std::string& file,
                            const OfferedForms& forms);
