// The signature trailer of Update.xml (docs/manifest-signature.md) made and
// checked with OpenSSL: RSA PKCS #1 v1.5 over SHA-256 of every byte up to the
// "signature:" line.
#pragma once

#include "trust/ManifestTrust.h"
#include "OpenSslHandles.h"

#include <cstdint>
#include <string>

// 16 lowercase hexadecimal digits: the first 8 bytes of the SHA-256 digest of
// the key's SubjectPublicKeyInfo in DER form.
std::string PublicKeyId(EVP_PKEY* key);

// The body (ending with the root element's end tag and a line break) followed
// by the trailer with LF line ends. Times are seconds since 1970 UTC.
std::string SignManifest(const std::string& body, EVP_PKEY* privateKey, int64_t signedAt, int64_t expiresAt);

// A public key as the updater's acceptance rules consult it.
class OpenSslSignatureKey : public SignatureKey {
public:
    explicit OpenSslSignatureKey(EvpPkey publicKey);
    std::string KeyId() const override;
    bool Verifies(const uint8_t* data, std::size_t size, const std::vector<uint8_t>& signature) const override;

private:
    EvpPkey key_;
    std::string keyId_;
};
