#include "FileDigests.h"

#include "HexText.h"
#include "Md5.h"
#include "OpenSslHandles.h"
#include "PublishError.h"
#include "WholeFile.h"

#include <openssl/err.h>

#include <cstring>

FileDigests DigestFile(const std::filesystem::path& path) {
    EvpMdCtx sha256(EVP_MD_CTX_new());
    if (!sha256 || EVP_DigestInit_ex(sha256.get(), EVP_sha256(), nullptr) != 1) {
        ERR_clear_error();
        throw PublishError("cannot compute SHA-256 digests");
    }
    Md5 md5;
    FileDigests digests;
    const FileRead read = ReadFileInPieces(path.string(), [&](const char* bytes, size_t size) {
        md5.Update(bytes, size);
        EVP_DigestUpdate(sha256.get(), bytes, size);
        digests.length += size;
    });
    if (read.failure == FileRead::kCannotOpen) {
        throw PublishError(path.string() + ": cannot open: " + std::strerror(read.systemError));
    }
    if (!read) throw PublishError(path.string() + ": cannot read");

    unsigned char md5Digest[16];
    md5.Final(md5Digest);
    digests.md5 = HexText(md5Digest, sizeof md5Digest, HexLetters::kUpper);
    unsigned char shaDigest[EVP_MAX_MD_SIZE];
    unsigned int shaLength = 0;
    EVP_DigestFinal_ex(sha256.get(), shaDigest, &shaLength);
    digests.sha256 = HexText(shaDigest, shaLength, HexLetters::kLower);
    return digests;
}

std::string Sha256Text(const std::string& bytes) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_sha256(), nullptr) != 1) {
        ERR_clear_error();
        throw PublishError("cannot compute SHA-256 digests");
    }
    return HexText(digest, length, HexLetters::kLower);
}
