// Whether the system finds a directory entry for a path.
#pragma once

#include <windows.h>

// True when an entry matches the path, taken as at most 259 bytes (so a path
// with wildcards is true when anything matches); false for a null path.
inline bool FileExists(const char* path) {
    if (path == nullptr) return false;
    char bounded[MAX_PATH] = {};
    lstrcpynA(bounded, path, MAX_PATH);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(bounded, &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return true;
}
