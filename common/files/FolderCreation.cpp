#include "FolderCreation.h"

#include "FolderLevel.h"
#include "PathText.h"

bool CreateFolders(const std::string& folder) {
    const std::vector<std::string> levels = FolderLevels(folder);
    if (levels.empty()) return false;
    // Levels already there (a drive, the folders above) fail to be made and
    // are passed over.
    for (const std::string& level : levels) MakeFolderLevel(level);
    return IsFolder(levels.back());
}
