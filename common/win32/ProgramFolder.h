// The folder of the running program, without its trailing backslash.
#pragma once

#include <windows.h>

#include <string>

inline std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path, length < sizeof path ? length : 0);
    size_t separator = folder.find_last_of("\\/");
    return separator == std::string::npos ? std::string(".") : folder.substr(0, separator);
}
