// Scratch folders and whole-file reads and writes for the tests of every
// component, in both trees. Paths are narrow strings in the process's code
// page, as the code under test takes them.
#pragma once

#include "WholeFile.h"

#include <string>

// A fresh empty folder below the system's temporary folder, removed with its
// contents (read-only entries too) when the object goes. Path() has no
// trailing separator.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& Path() const { return path_; }
    // Path of an entry in the folder, joined with the platform's separator.
    std::string File(const std::string& name) const;

private:
    std::string path_;
};

// The file's bytes for a comparison in a test (WholeFile.h reads and writes):
// empty when it cannot be read, so that a test that expects content fails.
std::string ReadWholeFile(const std::string& path);
// Whether a file or folder of that name exists.
bool PathExists(const std::string& path);
