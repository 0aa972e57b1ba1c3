#include "install/SafeFileCopy.h"

#include <windows.h>

#include <string>

#include "KernelHandles.h"
#include "plan/InstallTarget.h"
#include "run/StepMarks.h"

namespace {

// The copy's bytes on the disk, so that a power cut after the move cannot
// leave the target holding a file whose data never got there.
bool FlushToDisk(const std::string& path) {
    FileHandle file(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && FlushFileBuffers(file.Get());
}

}  // namespace

bool ReplaceFileWithCopy(const char* source, const char* target) {
    // Beside the target, so that the move is a rename within one folder.
    const std::string copy = InstallCopyPath(target);
    if (!CopyFileA(source, copy.c_str(), FALSE) || !FlushToDisk(copy)) {
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
