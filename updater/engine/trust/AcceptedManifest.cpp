#include "trust/AcceptedManifest.h"

#include "trust/ManifestTrailer.h"
#include "DurableFile.h"
#include "WholeFile.h"

namespace {
constexpr const char* kPrefix = "signed: ";
}

std::optional<int64_t> ReadAcceptedSigningTime(const std::string& path) {
    std::string text;
    if (!ReadWholeFile(path, &text)) return std::nullopt;
    std::string line = text.substr(0, text.find('\n'));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind(kPrefix, 0) != 0) return std::nullopt;
    return ParseUtcTime(std::string_view(line).substr(std::char_traits<char>::length(kPrefix)));
}

bool WriteAcceptedSigningTime(const std::string& path, int64_t signedAt) {
    return ReplaceFileDurably(path, kPrefix + FormatUtcTime(signedAt) + "\r\n");
}
