// One folder level, made the platform's way; for CreateFolders.
#pragma once

#include <string>

// Creates the folder when its parent exists; false when it was not made
// (already there included).
bool MakeFolderLevel(const std::string& folder);
// True when the path names an existing folder.
bool IsFolder(const std::string& path);
