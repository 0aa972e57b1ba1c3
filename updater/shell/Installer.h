// Puts the downloaded files of the install list in place.
#pragma once

#include <vector>

#include "StateFile.h"

// What the installation shows while it works (the install page).
class InstallProgressView {
public:
    virtual ~InstallProgressView() = default;
    virtual void SetRange(int count) = 0;
    virtual void SetPosition(int position) = 0;
    virtual void EnableFinish(bool enabled) = 0;
    virtual void SetDoneCaption() = 0;
};

// Copies every entry whose source can be read to its target (the updater's
// own files as ".update"), deletes the copied sources, empties the list,
// deletes the state file and writes Update=FALSE. Returns 0 without doing
// anything when the list is empty, else 1.
int InstallUpdates(std::vector<FileListEntry>& fileList, InstallProgressView& view, const char* programFolder,
                   const char* updateFolder);
