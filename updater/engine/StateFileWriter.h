// Writes QMUpdateFileList.txt: the header when opened, then one block per
// planned item after its last attempt. Lines end with CR LF on disk.
#pragma once

#include "UpdateItem.h"

#include <cstdio>
#include <memory>
#include <string>

// "<update folder>/QMUpdateFileList.txt"
std::string StateFilePath(const std::string& updateFolder);

class StateFileWriter {
public:
    // Truncates or creates the file and writes the header; date as YYYYMMDD,
    // time as HHMMSS. IsOpen() is false when it could not be created.
    StateFileWriter(const std::string& path, int plannedCount, int date, int time);

    bool IsOpen() const { return file_ != nullptr; }
    void WriteBlock(const UpdateItem& item, bool downloaded);

private:
    struct Closer {
        void operator()(FILE* file) const { std::fclose(file); }
    };
    void Line(const char* format, ...);

    std::unique_ptr<FILE, Closer> file_;
};
