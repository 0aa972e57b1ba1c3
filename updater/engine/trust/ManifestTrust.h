// Whether an updater that holds a publisher's key accepts a manifest: signed
// by that key, not expired, and not signed earlier than the last manifest it
// accepted (so that neither an old manifest nor one held back can be
// replayed). The signature arithmetic itself is the platform's, behind
// SignatureKey.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "trust/ManifestTrailer.h"

// The one algorithm a trailer may name.
inline constexpr std::string_view kManifestSignatureAlgorithm = "rsa-pkcs1-sha256";

class SignatureKey {
public:
    virtual ~SignatureKey() = default;
    // 16 lowercase hexadecimal digits naming the key.
    virtual std::string KeyId() const = 0;
    // True when signature is this key's signature of the bytes.
    virtual bool Verifies(const uint8_t* data, std::size_t size, const std::vector<uint8_t>& signature) const = 0;
};

enum class ManifestVerdict {
    kAccepted,
    kNoSignature,      // no trailer in the documented form
    kOtherAlgorithm,
    kOtherKey,
    kBadSignature,
    kExpired,
    kOlderThanAccepted,
};

// A word or two for the trace line.
const char* ManifestVerdictText(ManifestVerdict verdict);

struct ManifestJudgement {
    ManifestVerdict verdict = ManifestVerdict::kNoSignature;
    int64_t signedAt = 0;
    int64_t expiresAt = 0;
};

// file: every byte of Update.xml; now: seconds since 1970 UTC;
// lastAccepted: the signing time of the last manifest accepted, if any.
ManifestJudgement JudgeManifest(std::string_view file, const SignatureKey& key, int64_t now,
                                std::optional<int64_t> lastAccepted);
