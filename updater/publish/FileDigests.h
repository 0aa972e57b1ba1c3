// Size and digests of a release file, as the manifest gives them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

struct FileDigests {
    uint64_t length = 0;
    std::string md5;     // 32 uppercase hexadecimal digits, the updater's form
    std::string sha256;  // 64 lowercase hexadecimal digits, as sha256sum prints
};

// Reads the file once; PublishError when it cannot be read.
FileDigests DigestFile(const std::filesystem::path& path);

// The SHA-256 of bytes in memory, 64 lowercase hexadecimal digits.
std::string Sha256Text(const std::string& bytes);
