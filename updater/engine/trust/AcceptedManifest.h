// The signing time of the last manifest this updater accepted under its key,
// kept in a small file of its own in the update folder (one line,
// "signed: YYYY-MM-DDThh:mm:ssZ"). A manifest signed earlier is refused, so
// an old one cannot be replayed. Written only after a manifest passed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

inline constexpr const char* kAcceptedManifestFileName = "ManifestAccepted.txt";

// Nothing when the file is missing or not in that form.
std::optional<int64_t> ReadAcceptedSigningTime(const std::string& path);
bool WriteAcceptedSigningTime(const std::string& path, int64_t signedAt);
