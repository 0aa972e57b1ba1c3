#include "PartialFile.h"

#include <mutex>
#include <set>

namespace {

// The partial files open in this process.
struct Registry {
    std::mutex lock;
    std::set<std::string> paths;
    bool discarded = false;
};

Registry& OpenPartialFiles() {
    static Registry registry;
    return registry;
}

}  // namespace

PartialFile::PartialFile(const std::string& path) : path_(path) {
    Registry& registry = OpenPartialFiles();
    std::lock_guard<std::mutex> guard(registry.lock);
    if (registry.discarded) return;
    // Shared for deletion, so that DiscardPartialFiles can remove it while
    // this thread still holds it open.
    handle_ = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    if (IsOpen()) registry.paths.insert(path_);
}

PartialFile::~PartialFile() {
    Close();
    if (kept_) return;
    Registry& registry = OpenPartialFiles();
    std::lock_guard<std::mutex> guard(registry.lock);
    if (registry.paths.erase(path_) != 0) DeleteFileA(path_.c_str());
}

bool PartialFile::Write(const char* bytes, DWORD count) {
    DWORD written = 0;
    return WriteFile(handle_, bytes, count, &written, nullptr) && written == count;
}

bool PartialFile::MoveTo(const std::string& target) {
    Registry& registry = OpenPartialFiles();
    std::lock_guard<std::mutex> guard(registry.lock);
    Close();
    if (registry.discarded) return false;
    kept_ = MoveFileExA(path_.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED) != 0;
    if (kept_) registry.paths.erase(path_);
    return kept_;
}

void PartialFile::Close() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
}

void DiscardPartialFiles() {
    Registry& registry = OpenPartialFiles();
    std::lock_guard<std::mutex> guard(registry.lock);
    registry.discarded = true;
    for (const std::string& path : registry.paths) DeleteFileA(path.c_str());
    registry.paths.clear();
}
