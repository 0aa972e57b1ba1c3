// Puts a file's bytes from the system's cache on the disk, so that a power
// cut after the file is moved into place cannot leave a name whose data never
// got there. The installation's copies and Stock.ini's copy both use it.
#pragma once

#include <windows.h>

#include <string>

#include "KernelHandles.h"

inline bool FlushFileToDisk(const std::string& path) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && FlushFileBuffers(file.Get());
}
