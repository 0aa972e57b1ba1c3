// How the manifest's field elements fill an UpdateItem, and how the item's
// download, install and sub-folder paths follow from them.
#pragma once

#include "manifest/UpdateItem.h"

#include <string>

// Stores one field by its name (matched case-insensitively), the fields of
// the file's other forms too (FileForms.h); unknown names are ignored, a later value replaces an earlier one. Numbers follow atoi and stay
// at the 32-bit bounds when the text goes beyond them.
void ApplyManifestField(UpdateItem* item, const std::string& name, const std::string& value);

struct ItemFolders {
    std::string program;  // without trailing separator
    std::string windows;
    std::string system;
    std::string update;  // as the shell passes it, ending with '\\'
};

// Fills downloadPath, installPath and subPath. When FileName or LocalPath is
// no plain name (NameRules.h), or a name the download or the installation
// uses would not fit a 260-byte buffer (the temporary copies included), marks
// the item unsafe (pathsSafe false, paths empty) and returns false.
bool DeriveItemPaths(UpdateItem* item, const ItemFolders& folders);
