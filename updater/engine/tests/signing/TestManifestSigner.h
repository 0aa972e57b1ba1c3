// Signs manifests for the tests as a publisher would (docs/manifest-signature.md),
// with the platform's own cryptography and the tests' RSA key (PKCS #1 PEM),
// so that a test can sign a manifest whose URLs name the port of its server.
#pragma once

#include <cstdint>
#include <string>

// The PEM texts of the tests' keys: the signing key's public half, and a
// public key of another publisher.
std::string TestSigningPublicKeyPem();
std::string OtherPublisherPublicKeyPem();

// body followed by a signature trailer by the tests' key; keyId and algorithm
// are written as given, so a test can name another key or algorithm.
std::string SignManifestForTest(const std::string& body, int64_t signedAt, int64_t expiresAt,
                                const std::string& keyId = "", const std::string& algorithm = "rsa-pkcs1-sha256");

// The identifier of the tests' signing key, computed as the updater does.
std::string TestSigningKeyId();

// Seconds since 1970 UTC, from the system clock.
int64_t UtcNow();
