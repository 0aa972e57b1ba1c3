// RFC 1321 message digest, of a byte buffer or of a whole file, and the
// uppercase text form the manifest's MD5 values are compared with.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

class Md5 {
public:
    Md5();
    void Update(const void* data, size_t length);
    void Final(unsigned char digest[16]);

private:
    void Transform(const unsigned char block[64]);

    uint32_t state_[4];
    uint64_t bitCount_ = 0;
    unsigned char buffer_[64];
};

// The digest as 32 uppercase hexadecimal digits.
std::string Md5Text(const void* data, size_t length);
inline std::string Md5Text(const std::string& bytes) { return Md5Text(bytes.data(), bytes.size()); }

// The digest of the file's bytes; nothing when the file cannot be opened or a
// read fails. Callers that compare it with a manifest's MD5 then find no
// match.
std::optional<std::string> Md5TextOfFile(const std::string& path);
