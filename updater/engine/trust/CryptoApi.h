// The platform's own cryptography (CryptoAPI, provider type PROV_RSA_AES,
// present on every Windows the client supports), in the two forms the
// updater needs: SHA-256 digests and the verification of a publisher's
// RSA signature. No cryptographic arithmetic of the updater's own.
#pragma once

#include <windows.h>
#include <wincrypt.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "trust/ManifestTrust.h"

// A verification-only context of the RSA/AES provider.
class CryptoProvider {
public:
    CryptoProvider();
    ~CryptoProvider();
    CryptoProvider(const CryptoProvider&) = delete;
    CryptoProvider& operator=(const CryptoProvider&) = delete;

    bool IsOpen() const { return handle_ != 0; }
    HCRYPTPROV Handle() const { return handle_; }

private:
    HCRYPTPROV handle_ = 0;
};

// One SHA-256 computation.
class Sha256 {
public:
    explicit Sha256(const CryptoProvider& provider);
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    bool IsOpen() const { return handle_ != 0; }
    HCRYPTHASH Handle() const { return handle_; }
    bool Add(const void* data, std::size_t size);
    // The 32 bytes of the digest; empty on failure. Ends the computation.
    std::vector<uint8_t> Digest();

private:
    HCRYPTHASH handle_ = 0;
};

// The SHA-256 of a file's bytes as 64 uppercase hexadecimal digits; nothing
// when the file cannot be read or the system cannot hash.
std::optional<std::string> Sha256TextOfFile(const std::string& path);
// The same of bytes in memory.
std::optional<std::string> Sha256TextOfBytes(const std::string& bytes);

// A publisher's RSA public key (PEM, SubjectPublicKeyInfo) imported into the
// provider; null from FromPem when the text is no such key of 2048 to 4096 bits.
class CryptoApiSignatureKey : public SignatureKey {
public:
    static std::unique_ptr<CryptoApiSignatureKey> FromPem(const std::string& pem);
    ~CryptoApiSignatureKey() override;

    std::string KeyId() const override { return keyId_; }
    bool Verifies(const uint8_t* data, std::size_t size, const std::vector<uint8_t>& signature) const override;

private:
    CryptoApiSignatureKey() = default;

    CryptoProvider provider_;
    HCRYPTKEY key_ = 0;
    DWORD keyBits_ = 0;
    std::string keyId_;
};
