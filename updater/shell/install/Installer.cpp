#include "install/Installer.h"

#include <windows.h>

#include "install/ClientFiles.h"
#include "plan/InstallTarget.h"
#include "install/InstallerScope.h"
#include "install/SafeFileCopy.h"
#include "KernelHandles.h"
#include "run/StepMarks.h"

namespace {

// A source is installable when it exists and nobody holds it locked.
bool CanReadShared(const char* path) {
    return FileHandle(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                  nullptr))
        .IsValid();
}

// The folders an entry may touch; a folder the system does not report stays
// empty and admits nothing.
InstallFolders FoldersOfThisMachine(const char* programFolder, const char* updateFolder) {
    InstallFolders folders;
    folders.program = programFolder;
    folders.update = updateFolder;
    char folder[MAX_PATH] = {};
    UINT length = GetWindowsDirectoryA(folder, MAX_PATH);
    if (length > 0 && length < MAX_PATH) folders.windows = folder;
    length = GetSystemDirectoryA(folder, MAX_PATH);
    if (length > 0 && length < MAX_PATH) folders.system = folder;
    return folders;
}

}  // namespace

int InstallUpdates(std::vector<FileListEntry>& fileList, InstallProgressView& view, const char* programFolder,
                   const char* updateFolder) {
    if (fileList.empty()) {
        // Nothing waits, so a flag that says otherwise is left over from a
        // run that ended between deleting the state file and clearing it:
        // clear it now, or the client would wait for an installation that
        // never comes.
        if (ReadPendingUpdateFlag(programFolder)) WritePendingUpdateFlag(programFolder, false);
        return 0;
    }
    const int count = static_cast<int>(fileList.size());
    view.SetRange(count);
    view.EnableFinish(false);
    const InstallFolders folders = FoldersOfThisMachine(programFolder, updateFolder);

    for (int i = 0; i < count; ++i) {
        const FileListEntry& entry = fileList[static_cast<size_t>(i)];
        if (IsEntryInScope(entry, folders)) {
            std::string target = InstallTargetPath(entry.destinationPath, entry.fileName);
            RemoveLeftoverCopy(target.c_str());
            if (CanReadShared(entry.sourcePath.c_str()) && ReplaceFileWithCopy(entry.sourcePath.c_str(), target.c_str()) &&
                DeleteFileA(entry.sourcePath.c_str()))
                MarkStep("install.source-deleted");
        }
        view.SetPosition(i + 1);
    }

    view.EnableFinish(true);
    view.SetDoneCaption();
    fileList.clear();
    DeleteFileA(StateFilePath(updateFolder).c_str());
    MarkStep("install.state-file-deleted");
    WritePendingUpdateFlag(programFolder, false);
    return 1;
}
