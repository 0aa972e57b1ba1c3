#include "install/SafeFileCopy.h"

#include <windows.h>

#include <string>

#include "PathText.h"
#include "plan/InstallTarget.h"

bool ReplaceFileWithCopy(const char* source, const char* target) {
    // The copy is made beside the target, so that the move is a rename.
    std::string folder = FolderOfPath(target);
    if (folder.empty()) folder = ".";
    char temporary[MAX_PATH];
    if (!GetTempFileNameA(folder.c_str(), kInstallCopyPrefix, 0, temporary)) return false;
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
