// Zstandard compression of a release file, whole or as a patch from an
// earlier copy, with the settings docs/manifest-delta.md gives: level 19,
// the content size and a content checksum in every frame, and for patches a
// window that covers the base (delta/DeltaLimits.h) with long-distance
// matching, as `zstd --patch-from` does.
#pragma once

#include <optional>
#include <string>

inline constexpr int kCompressionLevel = 19;

std::string CompressWhole(const std::string& bytes);

// Nothing when the base or the file is too large for the updater's window.
std::optional<std::string> CompressPatch(const std::string& base, const std::string& bytes);
