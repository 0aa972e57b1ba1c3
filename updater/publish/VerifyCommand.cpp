#include "Commands.h"

#include "CommandLine.h"
#include "FileIo.h"
#include "KeyFiles.h"
#include "ManifestSignature.h"
#include "trust/ManifestTrailer.h"
#include "trust/ManifestTrust.h"
#include "PublishError.h"

#include <ctime>

namespace fs = std::filesystem;

namespace {

int64_t Now(const std::optional<std::string>& text) {
    if (!text) return static_cast<int64_t>(std::time(nullptr));
    const std::optional<int64_t> now = ParseUtcTime(*text);
    if (!now) throw UsageError("--now \"" + *text + "\": a UTC time as YYYY-MM-DDThh:mm:ssZ");
    return *now;
}

}  // namespace

bool RunVerify(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    const CommandArguments arguments(words, {"key", "now"}, 1);
    const fs::path manifestPath = arguments.Positional(0);
    const int64_t now = Now(arguments.Option("now"));
    const OpenSslSignatureKey key(ReadPublicKey(arguments.Required("key")));
    const std::string manifest = ReadFileBytes(manifestPath);
    const std::string& name = manifestPath.string();

    const std::optional<ManifestTrailer> trailer = ParseManifestTrailer(manifest);
    if (!trailer) {
        err << name << ": no signature trailer in the documented form at the end of the file\n";
        return false;
    }
    const ManifestJudgement judgement = JudgeManifest(manifest, key, now, std::nullopt);
    switch (judgement.verdict) {
        case ManifestVerdict::kAccepted:
        case ManifestVerdict::kExpired:
            break;
        case ManifestVerdict::kOtherAlgorithm:
            err << name << ": algorithm \"" << trailer->algorithm << "\", not " << kManifestSignatureAlgorithm << "\n";
            return false;
        case ManifestVerdict::kOtherKey:
            err << name << ": signed by key " << trailer->keyId << ", not by this key (" << key.KeyId() << ")\n";
            return false;
        case ManifestVerdict::kBadSignature:
            err << name << ": the signature does not match; the file was changed after signing\n";
            return false;
        default:
            err << name << ": " << ManifestVerdictText(judgement.verdict) << "\n";
            return false;
    }
    const bool expired = judgement.verdict == ManifestVerdict::kExpired;
    out << name << ": signature valid, key " << key.KeyId() << "\n"
        << "signed:  " << FormatUtcTime(judgement.signedAt) << "\n"
        << "expires: " << FormatUtcTime(judgement.expiresAt) << (expired ? " (expired)" : " (not expired)") << "\n";
    if (expired) err << name << ": expired at " << FormatUtcTime(judgement.expiresAt) << "\n";
    return !expired;
}
