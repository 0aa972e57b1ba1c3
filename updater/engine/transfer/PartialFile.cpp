#include "transfer/PartialFile.h"

#include "transfer/DownloadSuffix.h"

#include "transfer/ResumeValidator.h"
#include "FileSize.h"
#include "WholeFile.h"

#include <mutex>
#include <set>

namespace {

// The partial files open in this process.
struct Registry {
    std::mutex lock;
    std::set<std::string> paths;
    bool discarded = false;
};

// Made on first use and never destroyed. The program may end while a
// download runs, and its static objects are destroyed while the transfer's
// thread still runs: that thread may still open, move or drop its file.
Registry& OpenPartialFiles() {
    static Registry* const registry = new Registry;
    return *registry;
}

}  // namespace

std::string PartialValidatorPath(const std::string& partialPath) { return partialPath + kValidatorSuffix; }

bool FindResumablePartial(const std::string& partialPath, std::string* validator, uint64_t* size) {
    std::string text;
    if (!ReadWholeFile(PartialValidatorPath(partialPath), &text) || !IsKeepableValidator(text)) return false;
    const std::optional<uint64_t> bytes = FileSizeOf(partialPath.c_str());
    if (!bytes || *bytes == 0) return false;
    *validator = text;
    *size = *bytes;
    return true;
}

void RemovePartial(const std::string& partialPath) {
    DeleteFileA(partialPath.c_str());
    DeleteFileA(PartialValidatorPath(partialPath).c_str());
}

PartialFile::PartialFile(const std::string& path, bool resume) : path_(path) {
    Registry& registry = OpenPartialFiles();
    std::lock_guard<std::mutex> guard(registry.lock);
    if (registry.discarded) return;
    if (!resume) DeleteFileA(PartialValidatorPath(path_).c_str());
    // Shared for deletion, so that DiscardPartialFiles can remove it while
    // this thread still holds it open.
    handle_.Reset(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr,
                              resume ? OPEN_EXISTING : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!IsOpen()) return;
    if (resume) {
        LARGE_INTEGER size = {}, zero = {};
        if (!GetFileSizeEx(handle_.Get(), &size) || !SetFilePointerEx(handle_.Get(), zero, nullptr, FILE_END)) {
            handle_.Reset();
            return;
        }
        initialSize_ = static_cast<uint64_t>(size.QuadPart);
        // The validator stays in force for the bytes already there.
        keepForResume_ = true;
    }
    registry.paths.insert(path_);
}

PartialFile::~PartialFile() {
    Registry& registry = OpenPartialFiles();
    std::lock_guard<std::mutex> guard(registry.lock);
    handle_.Reset();
    if (moved_) return;
    // Gone already when the partial files were discarded.
    if (registry.paths.erase(path_) == 0) return;
    if (keepForResume_ && !abandoned_) return;
    RemovePartial(path_);
}

bool PartialFile::Write(const char* bytes, DWORD count) {
    DWORD written = 0;
    return WriteFile(handle_.Get(), bytes, count, &written, nullptr) && written == count;
}

bool PartialFile::KeepForResume(const std::string& validator) {
    Registry& registry = OpenPartialFiles();
    std::lock_guard<std::mutex> guard(registry.lock);
    if (registry.discarded || !IsKeepableValidator(validator)) return false;
    const std::string validatorPath = PartialValidatorPath(path_);
    keepForResume_ = WriteWholeFile(validatorPath, validator);
    if (!keepForResume_) DeleteFileA(validatorPath.c_str());
    return keepForResume_;
}

bool PartialFile::MoveTo(const std::string& target) {
    Registry& registry = OpenPartialFiles();
    std::lock_guard<std::mutex> guard(registry.lock);
    // The bytes reach the disk before the name does.
    if (handle_) FlushFileBuffers(handle_.Get());
    handle_.Reset();
    if (registry.discarded) return false;
    moved_ = MoveFileExA(path_.c_str(), target.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH) != 0;
    if (moved_) {
        registry.paths.erase(path_);
        DeleteFileA(PartialValidatorPath(path_).c_str());
    }
    return moved_;
}

void DiscardPartialFiles() {
    Registry& registry = OpenPartialFiles();
    std::lock_guard<std::mutex> guard(registry.lock);
    registry.discarded = true;
    for (const std::string& path : registry.paths) RemovePartial(path);
    registry.paths.clear();
}
