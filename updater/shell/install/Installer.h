// Puts the downloaded files of the install list in place.
#pragma once

#include <vector>

#include "statefile/StateFile.h"

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
//
// An entry whose source lies outside the update folder, or whose destination
// lies outside the program, Windows and system folders (InstallerScope.h), is
// skipped like one whose source is missing: nothing is copied, its source is
// not deleted and the progress moves on. The state file is deleted all the
// same, as after a failed copy: an entry that was refused once would be
// refused on every later run, so keeping it would leave the update pending
// for ever.
int InstallUpdates(std::vector<FileListEntry>& fileList, InstallProgressView& view, const char* programFolder,
                   const char* updateFolder);
