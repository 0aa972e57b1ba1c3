// The local file a transfer writes its body into, "<path>.download": removed
// again unless it was moved over its target when the body was complete, or
// kept for a later resume.
//
// A transfer whose answer carried a validator (its ETag, else its
// Last-Modified) keeps it beside the partial file, in
// "<path>.download.validator". When such a transfer ends without the whole
// body (cut short, too slow, broken connection), both files stay, so that a
// retry or a later run can ask for the rest only. Without a validator, or
// when the transfer is cancelled or its body is wrong, both are removed.
//
// Every partial file that is open is known process-wide, so that a program
// ending in the middle of a download can drop them (DiscardPartialFiles):
// the transfer's own thread may never get to clean up after itself then.
// Files of transfers that had already ended stay for a resume; those of
// transfers cut by the end of the program go, validator included.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "KernelHandles.h"

class PartialFile {
public:
    // `resume` false: creates (or truncates) the file and removes any
    // validator beside it. `resume` true: opens the existing file to append
    // to it. IsOpen() tells whether that worked.
    PartialFile(const std::string& path, bool resume);
    ~PartialFile();
    PartialFile(const PartialFile&) = delete;
    PartialFile& operator=(const PartialFile&) = delete;

    bool IsOpen() const { return handle_.IsValid(); }
    // Bytes in the file when it was opened (0 when it was created).
    uint64_t InitialSize() const { return initialSize_; }
    bool Write(const char* bytes, DWORD count);
    // Stores the validator beside the file; from then on an unfinished
    // transfer leaves both for a resume. False when it could not be stored.
    bool KeepForResume(const std::string& validator);
    // The file and its validator go when this object does, whatever was kept.
    void Abandon() { abandoned_ = true; }
    // Closes the file and moves it over the target path, removing the
    // validator; false when that failed or the partial files were discarded
    // meanwhile.
    bool MoveTo(const std::string& target);

private:
    std::string path_;
    FileHandle handle_;
    uint64_t initialSize_ = 0;
    bool moved_ = false;
    bool keepForResume_ = false;
    bool abandoned_ = false;
};

// The validator file beside a partial file.
std::string PartialValidatorPath(const std::string& partialPath);

// The validator kept beside a partial file and the partial file's size;
// false when either is missing, the validator is empty or the file is empty.
bool FindResumablePartial(const std::string& partialPath, std::string* validator, uint64_t* size);

// Removes a partial file and its validator.
void RemovePartial(const std::string& partialPath);

// Deletes every partial file still open, with its validator, and refuses new
// ones from then on: the program is ending. A transfer that goes on writing
// afterwards fails.
void DiscardPartialFiles();
