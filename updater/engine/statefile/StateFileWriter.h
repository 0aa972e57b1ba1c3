// Writes QMUpdateFileList.txt: the header when opened, then one block per
// planned item after its last attempt. Lines end with CR LF on disk.
#pragma once

#include "manifest/UpdateItem.h"

#include <cstdio>
#include <string>

#include "StdioFile.h"

// "<update folder>/QMUpdateFileList.txt"
std::string StateFilePath(const std::string& updateFolder);

// True when no text the item's block carries (its paths, file name and URL)
// holds a control character, so the block reads back line for line as it
// was written. The planner keeps no item for which this is false.
bool BlockTextsArePlain(const UpdateItem& item);

class StateFileWriter {
public:
    // Truncates or creates the file and writes the header; date as YYYYMMDD,
    // time as HHMMSS. IsOpen() is false when it could not be created.
    StateFileWriter(const std::string& path, int plannedCount, int date, int time);

    bool IsOpen() const { return file_.IsValid(); }
    // Appends the item's block; true when all of it reached the file. A text
    // holding a line break would end its line early and make the rest a line
    // of its own, so such an item gets no block at all (false), and neither
    // does any item while the file is not open.
    bool WriteBlock(const UpdateItem& item, bool downloaded);

private:
    void Line(const char* format, ...);

    StdioFile file_;
};
