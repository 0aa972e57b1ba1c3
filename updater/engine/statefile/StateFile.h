// The download state file QMUpdateFileList.txt: what the installation reads.
#pragma once

#include <string>
#include <vector>

struct FileListEntry {
    std::string sourcePath;       // SRCFILE: the downloaded copy in the update folder
    std::string destinationPath;  // DESTFILE: where it is to be installed
    std::string fileName;         // FILENAME
    bool downloaded = true;       // DOWNLOADSTATUS
};

// Appends every block whose downloaded flag is true, in file order. False
// only when the file cannot be opened (the array is then unchanged).
bool ReadFileList(const char* path, std::vector<FileListEntry>* entries);
