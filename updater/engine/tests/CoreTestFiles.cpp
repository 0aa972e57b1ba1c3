#include "CoreTestFiles.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

ScratchFolder::ScratchFolder() {
    static std::atomic<int> serial{0};
    auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    fs::path folder = fs::temp_directory_path() /
                      ("kvtest-" + std::to_string(stamp % 1000000007) + "-" + std::to_string(serial++));
    fs::create_directories(folder);
    path_ = folder.string();
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::string ScratchFolder::File(const std::string& name) const { return (fs::path(path_) / name).string(); }

void WriteWholeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

bool PathExists(const std::string& path) {
    std::error_code ignored;
    return fs::exists(path, ignored);
}
