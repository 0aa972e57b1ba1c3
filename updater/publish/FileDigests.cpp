#include "FileDigests.h"

#include "Md5.h"
#include "OpenSslHandles.h"
#include "PublishError.h"

#include <openssl/err.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

std::string LowercaseHex(const unsigned char* bytes, size_t size) {
    std::string text;
    char hex[3];
    for (size_t i = 0; i < size; ++i) {
        std::snprintf(hex, sizeof hex, "%02x", bytes[i]);
        text += hex;
    }
    return text;
}

}  // namespace

FileDigests DigestFile(const std::filesystem::path& path) {
    File file(std::fopen(path.c_str(), "rb"));
    if (!file) throw PublishError(path.string() + ": cannot open: " + std::strerror(errno));
    EvpMdCtx sha256(EVP_MD_CTX_new());
    if (!sha256 || EVP_DigestInit_ex(sha256.get(), EVP_sha256(), nullptr) != 1) {
        ERR_clear_error();
        throw PublishError("cannot compute SHA-256 digests");
    }
    Md5 md5;
    FileDigests digests;
    char chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
        md5.Update(chunk, got);
        EVP_DigestUpdate(sha256.get(), chunk, got);
        digests.length += got;
    }
    if (std::ferror(file.get())) throw PublishError(path.string() + ": cannot read");

    unsigned char md5Digest[16];
    char md5Text[33];
    md5.Final(md5Digest);
    DigestToText(md5Digest, md5Text);
    digests.md5 = md5Text;
    unsigned char shaDigest[EVP_MAX_MD_SIZE];
    unsigned int shaLength = 0;
    EVP_DigestFinal_ex(sha256.get(), shaDigest, &shaLength);
    digests.sha256 = LowercaseHex(shaDigest, shaLength);
    return digests;
}
