#include "install/SafeFileCopy.h"

#include <windows.h>

#include <string>

#include "install/DiskFlush.h"
#include "plan/InstallTarget.h"
#include "run/StepMarks.h"

bool ReplaceFileWithCopy(const char* source, const char* target) {
    // Beside the target, so that the move is a rename within one folder.
    const std::string copy = InstallCopyPath(target);
    if (!CopyFileA(source, copy.c_str(), FALSE) || !FlushFileToDisk(copy)) {
        DeleteFileA(copy.c_str());
        return false;
    }
    MarkStep("install.copy-written");
    if (!MoveFileExA(copy.c_str(), target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(copy.c_str());
        return false;
    }
    MarkStep("install.copy-moved");
    return true;
}

void RemoveLeftoverCopy(const char* target) { DeleteFileA(InstallCopyPath(target).c_str()); }
