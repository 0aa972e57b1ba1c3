// How the manifest's field elements fill an UpdateItem, and how the item's
// download, install and sub-folder paths follow from them.
#pragma once

#include "UpdateItem.h"

#include <string>

// Stores one field by its name (matched case-insensitively); unknown names are
// ignored, a later value replaces an earlier one.
void ApplyManifestField(UpdateItem* item, const std::string& name, const std::string& value);

struct ItemFolders {
    std::string program;  // without trailing separator
    std::string windows;
    std::string system;
    std::string update;  // as the shell passes it, ending with '\\'
};

// A name from the manifest that stays inside its folder: not absolute, no
// drive letter, no ".." segment.
bool IsSafeRelativeName(const std::string& name);

// Fills downloadPath, installPath and subPath. When FileName or LocalPath is
// unsafe, or a path would not fit a 260-byte buffer, marks the item unsafe
// (pathsSafe false, paths empty) and returns false.
bool DeriveItemPaths(UpdateItem* item, const ItemFolders& folders);
