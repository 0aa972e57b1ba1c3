// The size of a file as the directory entry gives it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

// The size in bytes of the file at `path`; nothing when there is no entry
// for it or the entry is a folder.
inline std::optional<uint64_t> FileSizeOf(const char* path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return std::nullopt;
    }
    return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}
