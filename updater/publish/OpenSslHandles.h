// Owners of the OpenSSL objects the tool uses, freed by the library's own
// release functions.
#pragma once

#include <openssl/bio.h>
#include <openssl/evp.h>

#include <memory>

struct EvpPkeyDeleter {
    void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct EvpPkeyCtxDeleter {
    void operator()(EVP_PKEY_CTX* context) const { EVP_PKEY_CTX_free(context); }
};
struct EvpMdCtxDeleter {
    void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};
struct BioDeleter {
    void operator()(BIO* bio) const { BIO_free_all(bio); }
};

using EvpPkey = std::unique_ptr<EVP_PKEY, EvpPkeyDeleter>;
using EvpPkeyCtx = std::unique_ptr<EVP_PKEY_CTX, EvpPkeyCtxDeleter>;
using EvpMdCtx = std::unique_ptr<EVP_MD_CTX, EvpMdCtxDeleter>;
using Bio = std::unique_ptr<BIO, BioDeleter>;
