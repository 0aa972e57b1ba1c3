// A file in memory with a path a reader can open, for readers that take a
// path: a file on disk per input would be slow and leave litter.
#pragma once

#include "FuzzCheck.h"

#include <sys/mman.h>
#include <unistd.h>

#include <string>
#include <string_view>

class MemoryFile {
public:
    MemoryFile() : descriptor_(memfd_create("fuzz-input", 0)) {
        FUZZ_CHECK(descriptor_ >= 0);
        path_ = "/proc/self/fd/" + std::to_string(descriptor_);
    }
    ~MemoryFile() { close(descriptor_); }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    void Fill(std::string_view bytes) {
        FUZZ_CHECK(ftruncate(descriptor_, 0) == 0);
        FUZZ_CHECK(pwrite(descriptor_, bytes.data(), bytes.size(), 0) == static_cast<ssize_t>(bytes.size()));
    }
    const char* Path() const { return path_.c_str(); }

private:
    int descriptor_;
    std::string path_;
};
