#include "TestFiles.h"

#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>

namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
const char kSeparator = '\\';
#else
const char kSeparator = '/';
#endif

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePointer = std::unique_ptr<std::FILE, FileCloser>;

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
std::string ScratchFolder::File(const std::string& name) const { return path_ + kSeparator + name; }

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
    FilePointer file(std::fopen(path.c_str(), "wb"));
    return file && std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
}

std::string ReadWholeFile(const std::string& path) {
    std::string content;
    FilePointer file(std::fopen(path.c_str(), "rb"));
    if (!file) return content;
    char chunk[4096];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) content.append(chunk, got);
    return content;
}

bool PathExists(const std::string& path) {
    struct stat status;
    return stat(path.c_str(), &status) == 0;
}
