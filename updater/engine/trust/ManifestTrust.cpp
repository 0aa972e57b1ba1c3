#include "trust/ManifestTrust.h"

const char* ManifestVerdictText(ManifestVerdict verdict) {
    switch (verdict) {
        case ManifestVerdict::kAccepted: return "accepted";
        case ManifestVerdict::kNoSignature: return "refused, not signed";
        case ManifestVerdict::kOtherAlgorithm: return "refused, unknown algorithm";
        case ManifestVerdict::kOtherKey: return "refused, signed by another key";
        case ManifestVerdict::kBadSignature: return "refused, signature does not match";
        case ManifestVerdict::kExpired: return "refused, expired";
        case ManifestVerdict::kOlderThanAccepted: return "refused, older than the manifest accepted before";
    }
    return "refused";
}

ManifestJudgement JudgeManifest(std::string_view file, const SignatureKey& key, int64_t now,
                                std::optional<int64_t> lastAccepted) {
    ManifestJudgement judgement;
    const std::optional<ManifestTrailer> trailer = ParseManifestTrailer(file);
    if (!trailer) return judgement;
    judgement.signedAt = trailer->signedAt;
    judgement.expiresAt = trailer->expiresAt;
    if (trailer->algorithm != kManifestSignatureAlgorithm) {
        judgement.verdict = ManifestVerdict::kOtherAlgorithm;
    } else if (trailer->keyId != key.KeyId()) {
        judgement.verdict = ManifestVerdict::kOtherKey;
    } else if (!key.Verifies(reinterpret_cast<const uint8_t*>(file.data()), trailer->signedLength,
                             trailer->signature)) {
        judgement.verdict = ManifestVerdict::kBadSignature;
    } else if (trailer->expiresAt <= now) {
        judgement.verdict = ManifestVerdict::kExpired;
    } else if (lastAccepted && trailer->signedAt < *lastAccepted) {
        judgement.verdict = ManifestVerdict::kOlderThanAccepted;
    } else {
        judgement.verdict = ManifestVerdict::kAccepted;
    }
    return judgement;
}
