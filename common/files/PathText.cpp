#include "PathText.h"

#include <cstring>

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace

std::string FolderOfPath(const std::string& path) {
    const size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    return IsSeparator(folder.back()) ? folder + name : folder + kPathSeparator + name;
}

std::string Extension(const std::string& path) {
    size_t dot = path.rfind('.');
    return dot == std::string::npos ? std::string() : path.substr(dot + 1);
}

std::string NameWithoutExtension(const std::string& path) {
    size_t dot = path.rfind('.');
    return dot == std::string::npos ? path : path.substr(0, dot);
}

std::vector<std::string> FolderLevels(const std::string& folder) {
    std::vector<std::string> levels;
    for (size_t i = 0; i <= folder.size(); ++i) {
        const bool ends = i == folder.size() || IsSeparator(folder[i]);
        if (ends && i > 0 && !IsSeparator(folder[i - 1])) levels.push_back(folder.substr(0, i));
    }
    return levels;
}

std::optional<std::string> FolderOfModulePath(const char* buffer, std::size_t reported, std::size_t capacity) {
    // A report that fills the buffer is a path cut to fit it.
    if (buffer == nullptr || reported == 0 || reported >= capacity) return std::nullopt;
    const std::string path(buffer, reported);
    if (path.size() != std::strlen(path.c_str())) return std::nullopt;
    const size_t cut = path.find_last_of("\\/");
    if (cut == std::string::npos) return std::nullopt;
    return path.substr(0, cut);
}
