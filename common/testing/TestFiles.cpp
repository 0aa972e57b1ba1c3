#include "TestFiles.h"

#include "PathText.h"

#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

// Tests leave read-only files behind on purpose; make every entry writable
// first so that the removal does not stop at them.
void RemoveTree(const fs::path& root) {
    std::error_code ignored;
    for (fs::recursive_directory_iterator entry(root, ignored), end; entry != end; entry.increment(ignored))
        fs::permissions(entry->path(), fs::perms::owner_write, fs::perm_options::add, ignored);
    fs::remove_all(root, ignored);
}

}  // namespace

ScratchFolder::ScratchFolder() {
    static std::atomic<int> serial{0};
    auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    fs::path folder = fs::temp_directory_path() /
                      ("qvtest-" + std::to_string(stamp % 1000000007) + "-" + std::to_string(serial++));
    RemoveTree(folder);
    fs::create_directories(folder);
    path_ = folder.string();
}

ScratchFolder::~ScratchFolder() { RemoveTree(path_); }

// Joined as text: the name may hold code-page bytes that a path conversion
// would not keep.
std::string ScratchFolder::File(const std::string& name) const { return JoinPath(path_, name); }

std::string ReadWholeFile(const std::string& path) {
    std::string content;
    ReadWholeFile(path, &content);
    return content;
}

bool PathExists(const std::string& path) {
    struct stat status;
    return stat(path.c_str(), &status) == 0;
}
