#include "FolderLevel.h"

#include <sys/stat.h>

bool MakeFolderLevel(const std::string& folder) { return ::mkdir(folder.c_str(), 0777) == 0; }

bool IsFolder(const std::string& path) {
    struct stat status;
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}
