// The update dialog's install list: the downloaded files that the state file
// lists. The download's and the installation's workers fill it and the
// dialog's thread fills it at start-up, so every use takes the list's lock.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "statefile/StateFile.h"

class InstallList {
public:
    // Empties the list and fills it from the state file; false when the file
    // cannot be read (the list then stays empty).
    bool Refill(const std::string& stateFilePath);
    bool IsEmpty() const;
    // The entries, for the installation to work through; the list is empty
    // afterwards.
    std::vector<FileListEntry> Take();

private:
    mutable std::mutex m_lock;
    std::vector<FileListEntry> m_entries;
};
