// The signature trailer of a manifest and the decision taken on it, with a
// stand-in key: the platform's arithmetic is tested under Windows.
#include "trust/AcceptedManifest.h"
#include "trust/ManifestTrailer.h"
#include "trust/ManifestTrust.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr const char* kBody =
    "<?xml version=\"1.0\" encoding=\"gb2312\"?>\n<Update><Product Version=\"1\"></Product></Update>\n";

// A trailer with the given line end; "c2ln" is the base64 of "sig".
std::string Signed(const std::string& lineEnd, const std::string& keyId = "0011223344556677",
                   const std::string& signedAt = "2026-12-10T09:00:00Z",
                   const std::string& expiresAt = "2027-01-09T09:00:00Z", const std::string& algorithm = "rsa-pkcs1-sha256") {
    return std::string(kBody) + "<!--koravel-signature" + lineEnd + "algorithm: " + algorithm + lineEnd +
           "key-id: " + keyId + lineEnd + "signed: " + signedAt + lineEnd + "expires: " + expiresAt + lineEnd +
           "signature: c2ln" + lineEnd + "-->" + lineEnd;
}

TEST(UtcTime, ParsesValidTimesAndRefusesTheRest) {
    const struct {
        const char* text;
        bool valid;
        int64_t seconds;
    } cases[] = {
        {"1970-01-01T00:00:00Z", true, 0},
        {"2000-03-01T00:00:00Z", true, 951868800},
        {"2024-02-29T23:59:59Z", true, 1709251199},
        {"2026-12-10T09:00:00Z", true, 1796893200},
        {"2023-02-29T00:00:00Z", false, 0},
        {"2026-13-01T00:00:00Z", false, 0},
        {"2026-00-10T00:00:00Z", false, 0},
        {"2026-04-31T00:00:00Z", false, 0},
        {"2026-12-10T24:00:00Z", false, 0},
        {"2026-12-10T09:60:00Z", false, 0},
        {"2026-12-10T09:00:00", false, 0},
        {"2026-12-10t09:00:00Z", false, 0},
        {"2026-12-10T09:00:00Z ", false, 0},
        {"2026-12-1OT09:00:00Z", false, 0},
        {"", false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<int64_t> parsed = ParseUtcTime(c.text);
        ASSERT_EQ(parsed.has_value(), c.valid);
        if (c.valid) {
            EXPECT_EQ(*parsed, c.seconds);
            EXPECT_EQ(FormatUtcTime(*parsed), c.text);
        }
    }
}

TEST(Base64, DecodesPaddedTextAndRefusesAnythingElse) {
    const struct {
        const char* text;
        bool valid;
        const char* bytes;
    } cases[] = {
        {"TWFu", true, "Man"},   {"TWE=", true, "Ma"},  {"TQ==", true, "M"},   {"TWFuTQ==", true, "ManM"},
        {"+/8=", true, "\xfb\xff"},
        {"", false, ""},        {"TQ=", false, ""},    {"TQ", false, ""},     {"TQ==TWFu", false, ""},
        {"T!==", false, ""},    {"TR==", false, ""},   {"TWF=", false, ""},   {"TW=u", false, ""},
        {"TWFu\n", false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<std::vector<uint8_t>> decoded = DecodeBase64(c.text);
        ASSERT_EQ(decoded.has_value(), c.valid);
        if (c.valid) {
            EXPECT_EQ(std::string(decoded->begin(), decoded->end()), c.bytes);
        }
    }
}

TEST(ManifestTrailer, ReadsTheFieldsAndTheSignedPartWithEitherLineEnd) {
    for (const std::string lineEnd : {"\n", "\r\n"}) {
        const std::string file = Signed(lineEnd);
        const std::optional<ManifestTrailer> trailer = ParseManifestTrailer(file);
        ASSERT_TRUE(trailer.has_value());
        EXPECT_EQ(trailer->algorithm, "rsa-pkcs1-sha256");
        EXPECT_EQ(trailer->keyId, "0011223344556677");
        EXPECT_EQ(trailer->signedAt, 1796893200);
        EXPECT_EQ(trailer->expiresAt, 1796893200 + 30 * 86400);
        EXPECT_EQ(std::string(trailer->signature.begin(), trailer->signature.end()), "sig");
        EXPECT_EQ(trailer->signedLength, file.find("signature: "));
    }
}

TEST(ManifestTrailer, RefusesEveryOtherForm) {
    const std::string good = Signed("\n");
    auto replaced = [&](const std::string& from, const std::string& to) {
        std::string file = good;
        file.replace(file.find(from), from.size(), to);
        return file;
    };
    const struct {
        const char* what;
        std::string file;
    } cases[] = {
        {"no trailer", kBody},
        {"text after the comment", good + "<x/>"},
        {"fields out of order", replaced("key-id: 0011223344556677\nsigned: 2026-12-10T09:00:00Z\n",
                                         "signed: 2026-12-10T09:00:00Z\nkey-id: 0011223344556677\n")},
        {"mixed line ends", replaced("signed: 2026-12-10T09:00:00Z\n", "signed: 2026-12-10T09:00:00Z\r\n")},
        {"field without blank", replaced("key-id: ", "key-id:")},
        {"bad time", replaced("2027-01-09T09:00:00Z", "2027-01-09 09:00:00")},
        {"bad base64", replaced("c2ln", "c2l")},
        {"no signature line", replaced("signature: c2ln\n", "")},
        {"an extra field", replaced("signature: c2ln\n", "signature: c2ln\nnote: x\n")},
        {"unclosed", good.substr(0, good.size() - 4)},
        {"opening glued to a field", replaced("<!--koravel-signature\n", "<!--koravel-signature ")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(ParseManifestTrailer(c.file).has_value());
    }
    EXPECT_TRUE(ParseManifestTrailer(good + " \r\n\t\n").has_value()) << "white space may follow";
}

// Verifies exactly the signature "sig" over exactly the expected bytes.
class StandInKey : public SignatureKey {
public:
    explicit StandInKey(std::string signedPart) : signedPart_(std::move(signedPart)) {}
    std::string KeyId() const override { return "0011223344556677"; }
    bool Verifies(const uint8_t* data, std::size_t size, const std::vector<uint8_t>& signature) const override {
        return std::string(reinterpret_cast<const char*>(data), size) == signedPart_ &&
               std::string(signature.begin(), signature.end()) == "sig";
    }

private:
    std::string signedPart_;
};

TEST(ManifestTrust, AcceptsOnlyAValidCurrentSignatureByTheKey) {
    const int64_t signedAt = 1796893200;        // 2026-12-10T09:00:00Z
    const int64_t expiresAt = signedAt + 30 * 86400;
    const std::string good = Signed("\n");
    const StandInKey key(good.substr(0, good.find("signature: ")));
    std::string tampered = good;
    tampered[good.find("Version=\"1\"") + 9] = '2';

    const struct {
        const char* what;
        std::string file;
        int64_t now;
        std::optional<int64_t> lastAccepted;
        ManifestVerdict verdict;
    } cases[] = {
        {"valid", good, signedAt + 60, std::nullopt, ManifestVerdict::kAccepted},
        {"valid, same time as accepted before", good, signedAt + 60, signedAt, ManifestVerdict::kAccepted},
        {"unsigned", kBody, signedAt, std::nullopt, ManifestVerdict::kNoSignature},
        {"one byte changed", tampered, signedAt, std::nullopt, ManifestVerdict::kBadSignature},
        {"another key", Signed("\n", "8899aabbccddeeff"), signedAt, std::nullopt, ManifestVerdict::kOtherKey},
        {"another algorithm", Signed("\n", "0011223344556677", "2026-12-10T09:00:00Z", "2027-01-09T09:00:00Z", "rsa-pkcs1-sha1"),
         signedAt, std::nullopt, ManifestVerdict::kOtherAlgorithm},
        {"expired", good, expiresAt, std::nullopt, ManifestVerdict::kExpired},
        {"older than accepted", good, signedAt, signedAt + 1, ManifestVerdict::kOlderThanAccepted},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const ManifestJudgement judgement = JudgeManifest(c.file, key, c.now, c.lastAccepted);
        EXPECT_EQ(judgement.verdict, c.verdict) << ManifestVerdictText(judgement.verdict);
    }
}

TEST(AcceptedManifest, KeepsTheSigningTimeAndReadsNothingFromOtherFiles) {
    ScratchFolder folder;
    const std::string path = folder.File(kAcceptedManifestFileName);
    EXPECT_FALSE(ReadAcceptedSigningTime(path).has_value());
    ASSERT_TRUE(WriteAcceptedSigningTime(path, 1796893200));
    EXPECT_EQ(ReadWholeFile(path), "signed: 2026-12-10T09:00:00Z\r\n");
    EXPECT_EQ(ReadAcceptedSigningTime(path), std::optional<int64_t>(1796893200));
    for (const char* content : {"", "signed: yesterday\r\n", "2026-12-10T09:00:00Z\r\n"}) {
        ASSERT_TRUE(WriteWholeFile(path, content));
        EXPECT_FALSE(ReadAcceptedSigningTime(path).has_value()) << content;
    }
}

}  // namespace
