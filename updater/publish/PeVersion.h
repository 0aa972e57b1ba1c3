// The file version of a Windows image (.exe, .dll) read from its bytes:
// headers, section table, resource directory down to RT_VERSION, and the
// VS_FIXEDFILEINFO of the VS_VERSIONINFO block. Every read is checked against
// the bytes given, so a truncated or hostile file yields nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct PeFileVersion {
    uint32_t mostSignificant = 0;   // dwFileVersionMS
    uint32_t leastSignificant = 0;  // dwFileVersionLS

    // "a.b.c.d", as the updater formats an installed file's version.
    std::string Text() const;
};

// Nothing when the bytes are no PE32 / PE32+ image, or the image has no
// well-formed version resource.
std::optional<PeFileVersion> ReadPeFileVersion(std::string_view image);
