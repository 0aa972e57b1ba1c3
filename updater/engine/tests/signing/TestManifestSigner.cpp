#include "TestManifestSigner.h"

#include <windows.h>
#include <wincrypt.h>

#include <stdexcept>
#include <vector>

#include "trust/CryptoApi.h"
#include "trust/ManifestTrailer.h"
#include "LocalMemory.h"
#include "TestData.h"

namespace {

std::vector<BYTE> PemToDer(const std::string& pem) {
    DWORD size = 0;
    CryptStringToBinaryA(pem.c_str(), static_cast<DWORD>(pem.size()), CRYPT_STRING_BASE64HEADER, nullptr, &size,
                         nullptr, nullptr);
    std::vector<BYTE> der(size);
    if (size == 0 || !CryptStringToBinaryA(pem.c_str(), static_cast<DWORD>(pem.size()), CRYPT_STRING_BASE64HEADER,
                                           der.data(), &size, nullptr, nullptr)) {
        throw std::runtime_error("test key is not PEM");
    }
    return der;
}

std::string Base64(const std::vector<BYTE>& bytes) {
    DWORD size = 0;
    const DWORD flags = CRYPT_STRING_BASE64 | CRYPT_STRING_NOCRLF;
    CryptBinaryToStringA(bytes.data(), static_cast<DWORD>(bytes.size()), flags, nullptr, &size);
    std::string text(size, '\0');
    if (!CryptBinaryToStringA(bytes.data(), static_cast<DWORD>(bytes.size()), flags, text.data(), &size)) {
        throw std::runtime_error("base64 failed");
    }
    text.resize(size);
    return text;
}

// SHA-256 signature of data with the tests' private key, most significant byte first.
std::vector<BYTE> Sign(const std::string& data) {
    const std::vector<BYTE> der = PemToDer(TestData(KV_TEST_SIGNING_KEY));
    LocalMemory blob;
    DWORD blobSize = 0;
    if (!CryptDecodeObjectEx(X509_ASN_ENCODING | PKCS_7_ASN_ENCODING, PKCS_RSA_PRIVATE_KEY, der.data(),
                             static_cast<DWORD>(der.size()), CRYPT_DECODE_ALLOC_FLAG, nullptr, blob.Put(), &blobSize)) {
        throw std::runtime_error("test key is not an RSA private key");
    }
    CryptoProvider provider;
    HCRYPTKEY key = 0;
    const BOOL imported = CryptImportKey(provider.Handle(), static_cast<const BYTE*>(blob.Get()), blobSize, 0, 0, &key);
    blob.Reset();
    if (!imported) throw std::runtime_error("test key import failed");
    Sha256 hash(provider);
    hash.Add(data.data(), data.size());
    DWORD size = 0;
    CryptSignHashA(hash.Handle(), AT_KEYEXCHANGE, nullptr, 0, nullptr, &size);
    std::vector<BYTE> signature(size);
    const BOOL signedOk = CryptSignHashA(hash.Handle(), AT_KEYEXCHANGE, nullptr, 0, signature.data(), &size);
    CryptDestroyKey(key);
    if (!signedOk) throw std::runtime_error("signing failed");
    return std::vector<BYTE>(signature.rbegin(), signature.rend());
}

}  // namespace

std::string TestData(int id) {
    const HMODULE program = GetModuleHandleA(nullptr);
    const HRSRC found = FindResourceA(program, MAKEINTRESOURCEA(id), RT_RCDATA);
    const HGLOBAL loaded = found != nullptr ? LoadResource(program, found) : nullptr;
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr) throw std::runtime_error("test data resource missing: " + std::to_string(id));
    return std::string(static_cast<const char*>(bytes), SizeofResource(program, found));
}

std::string TestSigningPublicKeyPem() { return TestData(KV_TEST_SIGNING_PUBLIC_KEY); }
std::string OtherPublisherPublicKeyPem() { return TestData(KV_OTHER_PUBLIC_KEY); }

std::string TestSigningKeyId() {
    const auto key = CryptoApiSignatureKey::FromPem(TestSigningPublicKeyPem());
    if (!key) throw std::runtime_error("test public key refused");
    return key->KeyId();
}

std::string SignManifestForTest(const std::string& body, int64_t signedAt, int64_t expiresAt,
                                const std::string& keyId, const std::string& algorithm) {
    const std::string signedPart = body + "<!--koravel-signature\nalgorithm: " + algorithm + "\nkey-id: " +
                                   (keyId.empty() ? TestSigningKeyId() : keyId) + "\nsigned: " +
                                   FormatUtcTime(signedAt) + "\nexpires: " + FormatUtcTime(expiresAt) + "\n";
    return signedPart + "signature: " + Base64(Sign(signedPart)) + "\n-->\n";
}

int64_t UtcNow() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const uint64_t ticks = (uint64_t {now.dwHighDateTime} << 32) | now.dwLowDateTime;
    return static_cast<int64_t>(ticks / 10000000 - 11644473600ULL);
}
