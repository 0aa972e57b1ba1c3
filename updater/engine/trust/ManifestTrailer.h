// The signature trailer that a signed Update.xml carries after its root
// element (docs/manifest-signature.md): one comment naming the algorithm, the
// key, the signing and expiry times and the signature of every byte before
// the signature line. Readers that do not look for it never see it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct ManifestTrailer {
    std::string algorithm;
    std::string keyId;
    int64_t signedAt = 0;   // seconds since 1970-01-01 00:00:00 UTC
    int64_t expiresAt = 0;
    std::vector<uint8_t> signature;
    std::size_t signedLength = 0;  // the file's first bytes that the signature covers
};

// The trailer at the end of a manifest file's bytes, or nothing when the file
// does not end with one in exactly the documented form.
std::optional<ManifestTrailer> ParseManifestTrailer(std::string_view file);

// "YYYY-MM-DDThh:mm:ssZ", a valid date and time of the Gregorian calendar.
std::optional<int64_t> ParseUtcTime(std::string_view text);
std::string FormatUtcTime(int64_t secondsSinceEpoch);

// Standard base64 with padding, no line breaks or other characters.
std::optional<std::vector<uint8_t>> DecodeBase64(std::string_view text);
