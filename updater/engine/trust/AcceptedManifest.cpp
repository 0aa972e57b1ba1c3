#include "trust/AcceptedManifest.h"

#include <fstream>

#include "trust/ManifestTrailer.h"

namespace {
constexpr const char* kPrefix = "signed: ";
}

std::optional<int64_t> ReadAcceptedSigningTime(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::string line;
    if (!file || !std::getline(file, line)) return std::nullopt;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind(kPrefix, 0) != 0) return std::nullopt;
    return ParseUtcTime(std::string_view(line).substr(std::char_traits<char>::length(kPrefix)));
}

bool WriteAcceptedSigningTime(const std::string& path, int64_t signedAt) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << kPrefix << FormatUtcTime(signedAt) << "\r\n";
    file.close();
    return !file.fail();
}
