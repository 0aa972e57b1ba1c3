// Which entries of the state file the installation acts on. The state file
// is plain text in the update folder, so each entry is judged by its text
// before anything is copied or deleted: its source must lie inside the
// update folder, its destination inside the program, Windows or system
// folder.
#pragma once

#include <string>

#include "statefile/StateFile.h"

struct InstallFolders {
    std::string program;
    std::string windows;
    std::string system;
    std::string update;
};

// Whether the path names something below the folder. The path must begin
// with the folder (letter case aside) and a separator; the rest is resolved
// by its text alone: "." and empty names are dropped, ".." goes up one
// level, and a ".." that would go above the folder refuses the path, even if
// the path would come back into the folder later. Every other name must be a
// plain name (NameRules.h), so no stream, device or wildcard is reached.
bool LiesInsideFolder(const std::string& path, const std::string& folder);

bool IsEntryInScope(const FileListEntry& entry, const InstallFolders& folders);
