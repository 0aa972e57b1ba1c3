// The folder of the running program, without a trailing separator.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "PathText.h"

// The running executable's path cut at its last '\\' or '/'. Nothing when
// the system cannot tell the path or it does not fit the client's 260-byte
// path buffers (a cut path names no folder).
inline std::optional<std::string> ProgramFolder() {
    char path[MAX_PATH] = {};
    const DWORD reported = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return FolderOfModulePath(path, reported, MAX_PATH);
}
