// The other forms in which a server may offer an item's file
// (docs/manifest-delta.md): the whole file compressed, and patches from the
// copies of earlier releases. An updater that knows none of them fetches the
// whole file by URL, as always.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// An item lists at most this many patches (Patch1... to Patch8...); the
// publisher's tool writes no more.
inline constexpr int kMaxPatchForms = 8;

struct FileForm {
    std::string url;
    int64_t length = -1;  // -1 when not given or not a plain decimal number
    std::string sha256;   // of the form's bytes as served

    // URL, Length and a SHA256 of 64 hexadecimal digits are all given.
    bool IsComplete() const;
};

// A patch decodes to the whole file against the installed copy whose size
// and SHA-256 it names, and against no other.
struct PatchForm : FileForm {
    std::string baseSha256;
    int64_t baseLength = -1;

    bool IsComplete() const;
};

struct FileForms {
    FileForm compressed;
    // PatchN at index N-1; a number left out leaves an empty, incomplete form.
    std::vector<PatchForm> patches;
};

// Stores a field of the forms (CompressedURL, Patch2BaseSHA256, ...; names
// matched case-insensitively). False when the name is none of theirs.
bool ApplyFormField(FileForms* forms, const std::string& name, const std::string& value);
