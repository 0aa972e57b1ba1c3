// The local file a transfer writes its body into, "<path>.download": removed
// again unless it was moved over its target when the body was complete.
//
// Every partial file that is open is known process-wide, so that a program
// ending in the middle of a download can drop them (DiscardPartialFiles):
// the transfer's own thread may never get to clean up after itself then.
#pragma once

#include <windows.h>

#include <string>

class PartialFile {
public:
    // Creates (or truncates) the file; IsOpen() tells whether that worked.
    explicit PartialFile(const std::string& path);
    ~PartialFile();
    PartialFile(const PartialFile&) = delete;
    PartialFile& operator=(const PartialFile&) = delete;

    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    bool Write(const char* bytes, DWORD count);
    // Closes the file and moves it over the target path; false when that
    // failed or the partial files were discarded meanwhile.
    bool MoveTo(const std::string& target);

private:
    void Close();

    std::string path_;
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    bool kept_ = false;
};

// Deletes every partial file still open and refuses new ones from then on:
// the program is ending. A transfer that goes on writing afterwards fails.
void DiscardPartialFiles();
