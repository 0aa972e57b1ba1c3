#include "FolderLevel.h"

#include <windows.h>

bool MakeFolderLevel(const std::string& folder) { return CreateDirectoryA(folder.c_str(), nullptr) != FALSE; }

bool IsFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}
