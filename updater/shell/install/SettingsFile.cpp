#include "install/SettingsFile.h"

#include "KernelHandles.h"
#include "install/DiskFlush.h"
#include "run/StepMarks.h"

#include <windows.h>

namespace {

// The name the file already has in its folder, so that replacing it keeps
// the client's spelling ("Stock.ini" written through "stock.ini").
std::string ExistingSpelling(const std::string& path) {
    WIN32_FIND_DATAA found;
    FindHandle search(FindFirstFileA(path.c_str(), &found));
    if (!search) return path;
    size_t separator = path.find_last_of("\\/");
    return path.substr(0, separator == std::string::npos ? 0 : separator + 1) + found.cFileName;
}

}  // namespace

bool WriteSettingWhole(const std::string& path, const char* section, const char* key, const char* value) {
    const std::string target = ExistingSpelling(path);
    const std::string copy = target + ".new";
    DeleteFileA(copy.c_str());
    if (GetFileAttributesA(target.c_str()) != INVALID_FILE_ATTRIBUTES && !CopyFileA(target.c_str(), copy.c_str(), FALSE))
        return false;
    // The profile functions may keep a file's text cached between calls:
    // drop what is cached of the copy's name before and after writing it.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, copy.c_str());
    bool written = WritePrivateProfileStringA(section, key, value, copy.c_str());
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, copy.c_str());
    if (written && FlushFileToDisk(copy)) {
        MarkStep("settings.copy-written");
        if (MoveFileExA(copy.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            MarkStep("settings.copy-moved");
            return true;
        }
    }
    DeleteFileA(copy.c_str());
    return false;
}
