#include "install/SafeFileCopy.h"

#include <windows.h>

#include <string>

#include "plan/InstallTarget.h"

namespace {

std::string FolderOf(const std::string& path) {
    size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? std::string(".") : path.substr(0, cut);
}

}  // namespace

bool ReplaceFileWithCopy(const char* source, const char* target) {
    char temporary[MAX_PATH];
    if (!GetTempFileNameA(FolderOf(target).c_str(), kInstallCopyPrefix, 0, temporary)) return false;
    if (!CopyFileA(source, temporary, FALSE)) {
        DeleteFileA(temporary);
        return false;
    }
    if (!MoveFileExA(temporary, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED)) {
        DeleteFileA(temporary);
        return false;
    }
    return true;
}
