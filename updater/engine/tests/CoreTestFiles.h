// Scratch folders and whole-file reads and writes for the tests.
#pragma once

#include <string>

// A fresh empty folder below the system's temporary folder, removed with its
// contents when the object goes. Path() has no trailing separator.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& Path() const { return path_; }
    // Path of a file in the folder, joined with the platform's separator.
    std::string File(const std::string& name) const;

private:
    std::string path_;
};

void WriteWholeFile(const std::string& path, const std::string& bytes);
// The file's bytes; empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);
bool PathExists(const std::string& path);
