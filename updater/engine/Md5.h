// RFC 1321 message digest, of a byte buffer or of a whole file, and the
// uppercase text form the manifest's MD5 values are compared with.
#pragma once

#include <cstddef>
#include <cstdint>
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

// Digest of the file's bytes, read in binary mode 1024 bytes at a time. When
// the file cannot be opened, writes "<path> can't be opened" to standard
// output and leaves the digest unchanged (callers zero it first).
void Md5OfFile(const char* path, unsigned char digest[16]);

// 32 uppercase hexadecimal digits and a terminator into `text` (at least 33
// bytes). False when either pointer is null.
bool DigestToText(const unsigned char* digest, char* text);

// The digest text of a file, 32 zeros when it cannot be opened.
std::string Md5TextOfFile(const char* path);
