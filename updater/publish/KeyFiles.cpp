#include "KeyFiles.h"

#include "FileIo.h"
#include "PublishError.h"

#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/rsa.h>

#include <system_error>

namespace fs = std::filesystem;

namespace {

// A key file protected by a pass phrase is refused instead of prompting on
// the terminal: the tool runs in scripts.
int RefusePassphrase(char*, int, int, void*) { return -1; }

Bio MemoryBioOf(const std::string& bytes) {
    Bio bio(BIO_new_mem_buf(bytes.data(), static_cast<int>(bytes.size())));
    if (!bio) throw PublishError("out of memory");
    return bio;
}

std::string MemoryBioText(BIO* bio) {
    char* data = nullptr;
    const long size = BIO_get_mem_data(bio, &data);
    return std::string(data, static_cast<size_t>(size));
}

void RequireUsableRsaKey(EVP_PKEY* key, const fs::path& path) {
    if (EVP_PKEY_get_base_id(key) != EVP_PKEY_RSA) {
        throw PublishError(path.string() + ": not an RSA key; manifests are signed with rsa-pkcs1-sha256");
    }
    const int bits = EVP_PKEY_get_bits(key);
    if (bits < kMinimumKeyBits || bits > kMaximumKeyBits) {
        throw PublishError(path.string() + ": an RSA key of " + std::to_string(bits) + " bits; updaters accept " +
                           std::to_string(kMinimumKeyBits) + " to " + std::to_string(kMaximumKeyBits));
    }
}

EvpPkey GenerateRsaKey() {
    EvpPkeyCtx context(EVP_PKEY_CTX_new_id(EVP_PKEY_RSA, nullptr));
    EVP_PKEY* key = nullptr;
    if (!context || EVP_PKEY_keygen_init(context.get()) <= 0 ||
        EVP_PKEY_CTX_set_rsa_keygen_bits(context.get(), kGeneratedKeyBits) <= 0 ||
        EVP_PKEY_keygen(context.get(), &key) <= 0) {
        ERR_clear_error();
        throw PublishError("cannot generate an RSA key");
    }
    return EvpPkey(key);
}

std::string PrivateKeyPem(EVP_PKEY* key) {
    Bio bio(BIO_new(BIO_s_mem()));
    // Written as PKCS #8 ("BEGIN PRIVATE KEY"), without encryption.
    if (!bio || PEM_write_bio_PrivateKey(bio.get(), key, nullptr, nullptr, 0, nullptr, nullptr) != 1) {
        ERR_clear_error();
        throw PublishError("cannot encode the private key");
    }
    return MemoryBioText(bio.get());
}

std::string PublicKeyPem(EVP_PKEY* key) {
    Bio bio(BIO_new(BIO_s_mem()));
    if (!bio || PEM_write_bio_PUBKEY(bio.get(), key) != 1) {
        ERR_clear_error();
        throw PublishError("cannot encode the public key");
    }
    return MemoryBioText(bio.get());
}

}  // namespace

KeyPairFiles GenerateKeyPairFiles(const fs::path& folder) {
    KeyPairFiles files{folder / "private.pem", folder / "public.pem"};
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) throw PublishError(folder.string() + ": cannot create the folder: " + error.message());
    for (const fs::path& path : {files.privateKey, files.publicKey}) {
        if (fs::exists(fs::symlink_status(path))) {
            throw PublishError(path.string() + ": already exists; not overwritten");
        }
    }

    EvpPkey key = GenerateRsaKey();
    WriteNewFile(files.privateKey, PrivateKeyPem(key.get()), 0600);
    try {
        WriteNewFile(files.publicKey, PublicKeyPem(key.get()), 0644);
    } catch (...) {
        // A private key without its public half would only confuse.
        fs::remove(files.privateKey, error);
        throw;
    }
    return files;
}

EvpPkey ReadPrivateKey(const fs::path& path) {
    const std::string pem = ReadFileBytes(path);
    Bio bio = MemoryBioOf(pem);
    EvpPkey key(PEM_read_bio_PrivateKey(bio.get(), nullptr, RefusePassphrase, nullptr));
    ERR_clear_error();
    if (!key) {
        throw PublishError(path.string() +
                           ": not a private key in PEM form (a key protected by a pass phrase is not taken)");
    }
    RequireUsableRsaKey(key.get(), path);
    return key;
}

EvpPkey ReadPublicKey(const fs::path& path) {
    const std::string pem = ReadFileBytes(path);
    Bio bio = MemoryBioOf(pem);
    EvpPkey key(PEM_read_bio_PUBKEY(bio.get(), nullptr, nullptr, nullptr));
    ERR_clear_error();
    if (!key) throw PublishError(path.string() + ": not a public key in PEM form (BEGIN PUBLIC KEY)");
    RequireUsableRsaKey(key.get(), path);
    return key;
}
