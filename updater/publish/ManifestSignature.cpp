#include "ManifestSignature.h"

#include "HexText.h"
#include "PublishError.h"
#include "trust/ManifestTrailer.h"

#include <openssl/err.h>
#include <openssl/sha.h>
#include <openssl/x509.h>

#include <stdexcept>
#include <vector>

namespace {

std::string StandardBase64(const std::vector<unsigned char>& bytes) {
    // EVP_EncodeBlock writes padded base64 on one line, and a terminator.
    std::string text(4 * ((bytes.size() + 2) / 3) + 1, '\0');
    const int length = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(text.data()), bytes.data(),
                                       static_cast<int>(bytes.size()));
    text.resize(static_cast<size_t>(length));
    return text;
}

std::vector<unsigned char> SignSha256(EVP_PKEY* key, const std::string& data) {
    EvpMdCtx context(EVP_MD_CTX_new());
    size_t size = 0;
    if (!context || EVP_DigestSignInit(context.get(), nullptr, EVP_sha256(), nullptr, key) != 1 ||
        EVP_DigestSign(context.get(), nullptr, &size, reinterpret_cast<const unsigned char*>(data.data()),
                       data.size()) != 1) {
        ERR_clear_error();
        throw PublishError("cannot sign the manifest with this key");
    }
    std::vector<unsigned char> signature(size);
    if (EVP_DigestSign(context.get(), signature.data(), &size, reinterpret_cast<const unsigned char*>(data.data()),
                       data.size()) != 1) {
        ERR_clear_error();
        throw PublishError("cannot sign the manifest with this key");
    }
    signature.resize(size);
    return signature;
}

}  // namespace

std::string PublicKeyId(EVP_PKEY* key) {
    unsigned char* der = nullptr;
    const int length = i2d_PUBKEY(key, &der);
    if (length <= 0) {
        ERR_clear_error();
        throw PublishError("cannot encode the public key");
    }
    unsigned char digest[SHA256_DIGEST_LENGTH];
    SHA256(der, static_cast<size_t>(length), digest);
    OPENSSL_free(der);
    // The key's name: the first 8 bytes of the SHA-256 of its DER form.
    return HexText(digest, 8, HexLetters::kLower);
}

std::string SignManifest(const std::string& body, EVP_PKEY* privateKey, int64_t signedAt, int64_t expiresAt) {
    // The root element must be closed inside the signed part, and the trailer
    // opens on a line of its own.
    if (body.empty() || body.back() != '\n') throw std::logic_error("a manifest body ends with a line break");
    std::string signedPart = body;
    signedPart += "<!--koravel-signature\n";
    signedPart += "algorithm: " + std::string(kManifestSignatureAlgorithm) + "\n";
    signedPart += "key-id: " + PublicKeyId(privateKey) + "\n";
    signedPart += "signed: " + FormatUtcTime(signedAt) + "\n";
    signedPart += "expires: " + FormatUtcTime(expiresAt) + "\n";
    const std::string signature = StandardBase64(SignSha256(privateKey, signedPart));
    return signedPart + "signature: " + signature + "\n-->\n";
}

OpenSslSignatureKey::OpenSslSignatureKey(EvpPkey publicKey)
    : key_(std::move(publicKey)), keyId_(PublicKeyId(key_.get())) {}

std::string OpenSslSignatureKey::KeyId() const { return keyId_; }

bool OpenSslSignatureKey::Verifies(const uint8_t* data, std::size_t size,
                                   const std::vector<uint8_t>& signature) const {
    EvpMdCtx context(EVP_MD_CTX_new());
    const bool verified = context &&
                          EVP_DigestVerifyInit(context.get(), nullptr, EVP_sha256(), nullptr, key_.get()) == 1 &&
                          EVP_DigestVerify(context.get(), signature.data(), signature.size(), data, size) == 1;
    ERR_clear_error();
    return verified;
}
