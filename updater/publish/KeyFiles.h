// The publisher's RSA key pair as PEM files: made by `keygen`, read by the
// `manifest` and `verify` commands. Failures throw PublishError naming the file.
#pragma once

#include "OpenSslHandles.h"

#include <filesystem>

// The RSA sizes an updater accepts; the tool makes keys of the middle one.
inline constexpr int kMinimumKeyBits = 2048;
inline constexpr int kMaximumKeyBits = 4096;
inline constexpr int kGeneratedKeyBits = 3072;

struct KeyPairFiles {
    std::filesystem::path privateKey;  // PKCS #8, mode 0600
    std::filesystem::path publicKey;   // SubjectPublicKeyInfo
};

// Makes a fresh key pair as folder/private.pem and folder/public.pem,
// creating the folder when needed. Refuses when either file exists.
KeyPairFiles GenerateKeyPairFiles(const std::filesystem::path& folder);

// An unencrypted PEM private key (PKCS #8 or traditional RSA form) of an
// accepted RSA size.
EvpPkey ReadPrivateKey(const std::filesystem::path& path);

// A PEM SubjectPublicKeyInfo of an accepted RSA size.
EvpPkey ReadPublicKey(const std::filesystem::path& path);
