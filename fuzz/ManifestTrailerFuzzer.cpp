// A manifest file as the updater downloads it: the signature trailer's
// reader and the rules that accept or refuse the manifest.
//
// Rules checked for every input:
// - a trailer read covers the file exactly as documented: the signed part
//   ends with the expires line, the signature line follows it, and after
//   the closing "-->" only white space remains;
// - its times and its signature are in their one canonical text form, so
//   that a signed part names exactly one set of values;
// - the key is asked about the signed part and nothing else, and a manifest
//   is accepted only when every rule holds: our algorithm and key, a good
//   signature, not expired, not older than the one accepted before.
#include "FuzzCheck.h"

#include "trust/ManifestTrailer.h"
#include "trust/ManifestTrust.h"

#include <optional>
#include <string>

namespace {

// The key of the example manifest (docs/examples). Whether a signature
// verifies is the platform's arithmetic, not fuzzed here: this key says yes
// to signatures whose last byte is even, so both answers are reached, and
// records what it was asked.
class RecordingKey : public SignatureKey {
public:
    std::string KeyId() const override { return "6fa3e8f35bb9a229"; }
    bool Verifies(const uint8_t* data, std::size_t size, const std::vector<uint8_t>& signature) const override {
        askedData = data;
        askedSize = size;
        ++asked;
        lastAnswer = !signature.empty() && signature.back() % 2 == 0;
        return lastAnswer;
    }

    mutable const uint8_t* askedData = nullptr;
    mutable std::size_t askedSize = 0;
    mutable int asked = 0;
    mutable bool lastAnswer = false;
};

std::string EncodeBase64(const std::vector<uint8_t>& bytes) {
    static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t left = bytes.size() - i;
        uint32_t group = static_cast<uint32_t>(bytes[i]) << 16;
        if (left > 1) group |= static_cast<uint32_t>(bytes[i + 1]) << 8;
        if (left > 2) group |= bytes[i + 2];
        text += kAlphabet[group >> 18 & 63];
        text += kAlphabet[group >> 12 & 63];
        text += left > 1 ? kAlphabet[group >> 6 & 63] : '=';
        text += left > 2 ? kAlphabet[group & 63] : '=';
    }
    return text;
}

bool OnlyWhiteSpace(std::string_view text) {
    return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

// The trailer as the publisher writes it, from the values read.
std::string RenderTrailer(const ManifestTrailer& trailer, std::string_view lineEnd) {
    const std::string end(lineEnd);
    return "<!--koravel-signature" + end + "algorithm: " + trailer.algorithm + end + "key-id: " + trailer.keyId +
           end + "signed: " + FormatUtcTime(trailer.signedAt) + end + "expires: " + FormatUtcTime(trailer.expiresAt) +
           end + "signature: " + EncodeBase64(trailer.signature) + end + "-->";
}

void CheckTrailerForm(std::string_view file, const ManifestTrailer& trailer) {
    FUZZ_CHECK(trailer.signedLength > 0 && trailer.signedLength < file.size());
    const std::string_view signedPart = file.substr(0, trailer.signedLength);
    FUZZ_CHECK(signedPart.back() == '\n');
    const std::string_view lineEnd = signedPart.size() >= 2 && signedPart[signedPart.size() - 2] == '\r'
                                         ? std::string_view("\r\n")
                                         : std::string_view("\n");

    // Rendered again from the values read, the trailer is the file's own
    // text (so each value has one text form), the signed part ends just
    // before "signature:", and only white space follows.
    const std::string rendered = RenderTrailer(trailer, lineEnd);
    const std::size_t at = file.rfind(rendered);
    FUZZ_CHECK(at != std::string_view::npos);
    FUZZ_CHECK(OnlyWhiteSpace(file.substr(at + rendered.size())));
    FUZZ_CHECK(file.substr(trailer.signedLength, 11) == "signature: ");
    FUZZ_CHECK(trailer.signedLength == at + rendered.rfind("signature: "));
    FUZZ_CHECK(ParseUtcTime(FormatUtcTime(trailer.signedAt)) == trailer.signedAt);
}

void CheckJudgement(std::string_view file, const std::optional<ManifestTrailer>& trailer, int64_t now,
                    std::optional<int64_t> lastAccepted) {
    RecordingKey key;
    const ManifestJudgement judgement = JudgeManifest(file, key, now, lastAccepted);
    if (!trailer) {
        FUZZ_CHECK(judgement.verdict == ManifestVerdict::kNoSignature);
        FUZZ_CHECK(key.asked == 0);
        return;
    }
    FUZZ_CHECK(judgement.verdict != ManifestVerdict::kNoSignature);
    FUZZ_CHECK(judgement.signedAt == trailer->signedAt && judgement.expiresAt == trailer->expiresAt);
    if (key.asked > 0) {
        // The signed part exactly: not a byte of the signature line.
        FUZZ_CHECK(key.askedData == reinterpret_cast<const uint8_t*>(file.data()));
        FUZZ_CHECK(key.askedSize == trailer->signedLength);
    }
    if (judgement.verdict == ManifestVerdict::kAccepted) {
        FUZZ_CHECK(trailer->algorithm == kManifestSignatureAlgorithm);
        FUZZ_CHECK(trailer->keyId == key.KeyId());
        FUZZ_CHECK(key.asked == 1 && key.lastAnswer);
        FUZZ_CHECK(trailer->expiresAt > now);
        FUZZ_CHECK(!lastAccepted || trailer->signedAt >= *lastAccepted);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view file = InputText(data, size);
    const std::optional<ManifestTrailer> trailer = ParseManifestTrailer(file);
    if (trailer) CheckTrailerForm(file, *trailer);

    // The clock and the last accepted time on both sides of the trailer's own.
    const int64_t signedAt = trailer ? trailer->signedAt : 0;
    const int64_t expiresAt = trailer ? trailer->expiresAt : 0;
    for (int64_t now : {expiresAt - 1, expiresAt, signedAt}) {
        CheckJudgement(file, trailer, now, std::nullopt);
        CheckJudgement(file, trailer, now, signedAt);
        CheckJudgement(file, trailer, now, signedAt + 1);
    }
    return 0;
}
