// Which representations of an item's file the updater tries, in order: the
// patch from the installed copy, the compressed file, the whole file
// (docs/manifest-delta.md). The whole file always comes last, so a failed
// smaller form only ever falls back to what the updater fetched before.
#pragma once

#include "manifest/UpdateItem.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum class FormKind { kPatch, kCompressed, kWhole };

// "patch", "compressed" or "whole", for the log.
const char* FormKindText(FormKind kind);

struct FormToFetch {
    FormKind kind = FormKind::kWhole;
    // The manifest's form (a PatchForm for a patch); null for the whole file.
    const FileForm* form = nullptr;
    // Where the form's bytes are downloaded to before they are decoded:
    // beside the download path, named like the server's copy
    // ("<download path>.zst" or ".zpatch"). Empty for the whole file.
    std::string localPath;
};

// The installed copy as a patch's base is matched against it.
struct InstalledCopy {
    uint64_t size = 0;
    std::string sha256;  // 64 hexadecimal digits, either case
};

// True when the item offers a smaller form the updater may use: it gives
// its Length and a SHA256 of 64 hexadecimal digits (what a decoded file is
// held to), and a complete compressed or patch form.
bool OffersSmallerForms(const UpdateItem& item);

// Whether a usable patch of the item applies to a copy of `size` bytes: only
// then is the installed copy worth reading to match it.
bool HasPatchForBaseOfSize(const UpdateItem& item, uint64_t size);

// The local names of the item's forms beside its download path, whether
// offered or not: "<download path>.zpatch" and "<download path>.zst".
std::vector<std::string> FormLocalPaths(const UpdateItem& item);

// The representations to try, in order, ending with the whole file: the
// first complete patch whose base is the installed copy, then the complete
// compressed form. A form whose local names would not fit the client's path
// buffers is left out. An item that offers no smaller form gets the whole
// file alone, as before forms existed.
std::vector<FormToFetch> FormsToTry(const UpdateItem& item, const std::optional<InstalledCopy>& installed);
