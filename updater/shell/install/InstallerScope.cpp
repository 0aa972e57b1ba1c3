#include "install/InstallerScope.h"

#include "manifest/NameRules.h"
#include "CaseFolding.h"

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace

bool LiesInsideFolder(const std::string& path, const std::string& folder) {
    std::string root = folder;
    while (!root.empty() && IsSeparator(root.back())) root.pop_back();
    if (root.empty() || path.size() <= root.size()) return false;
    if (!EqualsIgnoreCase(path.substr(0, root.size()), root) || !IsSeparator(path[root.size()])) return false;

    int depth = 0;
    size_t start = root.size() + 1;
    while (start <= path.size()) {
        size_t end = start;
        while (end < path.size() && !IsSeparator(path[end])) ++end;
        std::string name = path.substr(start, end - start);
        if (name == "..") {
            if (depth == 0) return false;
            --depth;
        } else if (!name.empty() && name != ".") {
            if (!IsPlainName(name)) return false;
            ++depth;
        }
        start = end + 1;
    }
    return depth > 0;
}

bool IsEntryInScope(const FileListEntry& entry, const InstallFolders& folders) {
    if (!LiesInsideFolder(entry.sourcePath, folders.update)) return false;
    return LiesInsideFolder(entry.destinationPath, folders.program) ||
           LiesInsideFolder(entry.destinationPath, folders.windows) ||
           LiesInsideFolder(entry.destinationPath, folders.system);
}
