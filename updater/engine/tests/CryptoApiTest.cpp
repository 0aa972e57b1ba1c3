// The platform's cryptography as the updater uses it: the publisher's key
// from PEM, its identifier, signatures made by OpenSSL (the documented
// example) and by the tests' signer, and file digests.
#include "trust/CryptoApi.h"
#include "trust/ManifestTrust.h"
#include "TestData.h"
#include "TestFiles.h"
#include "TestManifestSigner.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr int64_t kExampleSigned = 1796893200;  // 2026-12-10T09:00:00Z

TEST(CryptoApiSignatureKey, VerifiesTheDocumentedExampleSignedWithOpenssl) {
    const auto key = CryptoApiSignatureKey::FromPem(TestData(KV_EXAMPLE_PUBLIC_KEY));
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->KeyId(), "6fa3e8f35bb9a229");  // as the openssl commands of the document compute it
    const std::string manifest = TestData(KV_EXAMPLE_MANIFEST);
    ASSERT_FALSE(manifest.empty());
    EXPECT_EQ(JudgeManifest(manifest, *key, kExampleSigned + 3600, std::nullopt).verdict, ManifestVerdict::kAccepted);

    std::string changed = manifest;
    changed[changed.find("<Length>12") + 8] = '3';
    EXPECT_EQ(JudgeManifest(changed, *key, kExampleSigned + 3600, std::nullopt).verdict,
              ManifestVerdict::kBadSignature);
    std::string changedTime = manifest;
    changedTime.replace(changedTime.find("expires: 2027"), 13, "expires: 2028");
    EXPECT_EQ(JudgeManifest(changedTime, *key, kExampleSigned + 3600, std::nullopt).verdict,
              ManifestVerdict::kBadSignature);

    const auto other = CryptoApiSignatureKey::FromPem(OtherPublisherPublicKeyPem());
    ASSERT_NE(other, nullptr);
    EXPECT_NE(other->KeyId(), key->KeyId());
    EXPECT_EQ(JudgeManifest(manifest, *other, kExampleSigned + 3600, std::nullopt).verdict,
              ManifestVerdict::kOtherKey);
}

TEST(CryptoApiSignatureKey, AnotherKeysSignatureUnderTheRightIdentifierFails) {
    const auto other = CryptoApiSignatureKey::FromPem(OtherPublisherPublicKeyPem());
    ASSERT_NE(other, nullptr);
    // Signed by the tests' key but naming the other key: the arithmetic refuses it.
    const std::string manifest =
        SignManifestForTest("<Update/>\n", UtcNow(), UtcNow() + 3600, other->KeyId());
    EXPECT_EQ(JudgeManifest(manifest, *other, UtcNow(), std::nullopt).verdict, ManifestVerdict::kBadSignature);
    const auto key = CryptoApiSignatureKey::FromPem(TestSigningPublicKeyPem());
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(JudgeManifest(SignManifestForTest("<Update/>\n", UtcNow(), UtcNow() + 3600), *key, UtcNow(),
                            std::nullopt)
                  .verdict,
              ManifestVerdict::kAccepted);
}

TEST(CryptoApiSignatureKey, RefusesWhatIsNoRsaPublicKey) {
    const std::string privateKey = TestData(KV_TEST_SIGNING_KEY);
    for (const std::string& text : {std::string(), std::string("no key"), privateKey,
                                    std::string("-----BEGIN PUBLIC KEY-----\nAAAA\n-----END PUBLIC KEY-----\n")}) {
        EXPECT_EQ(CryptoApiSignatureKey::FromPem(text), nullptr) << text.substr(0, 40);
    }
}

TEST(Sha256TextOfFile, GivesTheDigestInUppercaseHex) {
    ScratchFolder folder;
    const std::string path = folder.File("abc.txt");
    ASSERT_TRUE(WriteWholeFile(path, "abc"));
    EXPECT_EQ(Sha256TextOfFile(path.c_str()), "BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD");
    const std::string large = folder.File("large.bin");
    ASSERT_TRUE(WriteWholeFile(large, std::string(200000, 'a')));  // several reads
    EXPECT_EQ(Sha256TextOfFile(large.c_str()), "2287D207F24A941FF3B56C04C8A25AD56B63E3023207B3BB5B4AC0C9869D74BE");
    EXPECT_EQ(Sha256TextOfFile(folder.File("missing")), std::nullopt);
    EXPECT_EQ(Sha256TextOfFile(folder.Path()), std::nullopt);  // a folder: no bytes to digest
}

}  // namespace
