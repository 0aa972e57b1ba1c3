#include "trust/CryptoApi.h"

#include <algorithm>

#include "HexText.h"
#include "WholeFile.h"

#include "KernelHandles.h"
#include "LocalMemory.h"

CryptoProvider::CryptoProvider() {
    if (!CryptAcquireContextA(&handle_, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT | CRYPT_SILENT)) {
        handle_ = 0;
    }
}

CryptoProvider::~CryptoProvider() {
    if (handle_ != 0) CryptReleaseContext(handle_, 0);
}

Sha256::Sha256(const CryptoProvider& provider) {
    if (!provider.IsOpen() || !CryptCreateHash(provider.Handle(), CALG_SHA_256, 0, 0, &handle_)) handle_ = 0;
}

Sha256::~Sha256() {
    if (handle_ != 0) CryptDestroyHash(handle_);
}

bool Sha256::Add(const void* data, std::size_t size) {
    const BYTE* bytes = static_cast<const BYTE*>(data);
    while (size > 0) {
        const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
        if (handle_ == 0 || !CryptHashData(handle_, bytes, piece, 0)) return false;
        bytes += piece;
        size -= piece;
    }
    return handle_ != 0;
}

std::vector<uint8_t> Sha256::Digest() {
    std::vector<uint8_t> digest(32);
    DWORD size = static_cast<DWORD>(digest.size());
    if (handle_ == 0 || !CryptGetHashParam(handle_, HP_HASHVAL, digest.data(), &size, 0) || size != 32) return {};
    return digest;
}

namespace {

// The digest of what `feed` hands over as 64 uppercase hexadecimal digits;
// nothing when feeding failed or the system cannot hash.
template <typename Feed>
std::optional<std::string> Sha256TextOf(Feed feed) {
    CryptoProvider provider;
    Sha256 hash(provider);
    if (!feed(hash)) return std::nullopt;
    const std::vector<uint8_t> digest = hash.Digest();
    if (digest.empty()) return std::nullopt;
    return HexText(digest.data(), digest.size(), HexLetters::kUpper);
}

}  // namespace

std::optional<std::string> Sha256TextOfFile(const std::string& path) {
    return Sha256TextOf([&](Sha256& hash) {
        bool hashed = true;
        const FileRead read = ReadFileInPieces(path, [&](const char* bytes, std::size_t size) {
            hashed = hashed && hash.Add(bytes, size);
        });
        return read && hashed;
    });
}

std::optional<std::string> Sha256TextOfBytes(const std::string& bytes) {
    return Sha256TextOf([&](Sha256& hash) { return hash.Add(bytes.data(), bytes.size()); });
}

std::unique_ptr<CryptoApiSignatureKey> CryptoApiSignatureKey::FromPem(const std::string& pem) {
    DWORD derSize = 0;
    if (pem.empty() || !CryptStringToBinaryA(pem.c_str(), static_cast<DWORD>(pem.size()), CRYPT_STRING_BASE64HEADER,
                                             nullptr, &derSize, nullptr, nullptr)) {
        return nullptr;
    }
    std::vector<BYTE> der(derSize);
    if (!CryptStringToBinaryA(pem.c_str(), static_cast<DWORD>(pem.size()), CRYPT_STRING_BASE64HEADER, der.data(),
                              &derSize, nullptr, nullptr)) {
        return nullptr;
    }
    der.resize(derSize);

    LocalMemory info;
    DWORD infoSize = 0;
    if (!CryptDecodeObjectEx(X509_ASN_ENCODING, X509_PUBLIC_KEY_INFO, der.data(), derSize, CRYPT_DECODE_ALLOC_FLAG,
                             nullptr, info.Put(), &infoSize)) {
        return nullptr;
    }
    auto* publicKeyInfo = static_cast<CERT_PUBLIC_KEY_INFO*>(info.Get());
    if (std::string(publicKeyInfo->Algorithm.pszObjId) != szOID_RSA_RSA) return nullptr;

    std::unique_ptr<CryptoApiSignatureKey> key(new CryptoApiSignatureKey());
    if (!key->provider_.IsOpen() ||
        !CryptImportPublicKeyInfo(key->provider_.Handle(), X509_ASN_ENCODING, publicKeyInfo, &key->key_)) {
        key->key_ = 0;
        return nullptr;
    }
    DWORD bits = 0;
    DWORD bitsSize = sizeof bits;
    if (!CryptGetKeyParam(key->key_, KP_KEYLEN, reinterpret_cast<BYTE*>(&bits), &bitsSize, 0) || bits < 2048 ||
        bits > 4096) {
        return nullptr;
    }
    key->keyBits_ = bits;

    // The key's name: the first 8 bytes of the SHA-256 of its DER form.
    Sha256 hash(key->provider_);
    if (!hash.Add(der.data(), der.size())) return nullptr;
    const std::vector<uint8_t> digest = hash.Digest();
    if (digest.empty()) return nullptr;
    key->keyId_ = HexText(digest.data(), 8, HexLetters::kLower);
    return key;
}

CryptoApiSignatureKey::~CryptoApiSignatureKey() {
    if (key_ != 0) CryptDestroyKey(key_);
}

bool CryptoApiSignatureKey::Verifies(const uint8_t* data, std::size_t size,
                                     const std::vector<uint8_t>& signature) const {
    // A signature of another length cannot be this key's.
    if (signature.size() != keyBits_ / 8) return false;
    Sha256 hash(provider_);
    if (!hash.Add(data, size)) return false;
    // The provider takes the signature's bytes least significant first.
    std::vector<uint8_t> reversed(signature.rbegin(), signature.rend());
    return CryptVerifySignatureA(hash.Handle(), reversed.data(), static_cast<DWORD>(reversed.size()), key_, nullptr,
                                 0) != FALSE;
}
