// Whole-file reads and writes of the tool. Failures throw PublishError with
// the path and the system's reason.
#pragma once

#include <filesystem>
#include <string>
#include <sys/types.h>

std::string ReadFileBytes(const std::filesystem::path& path);

// Creates the file with exactly `mode`, whatever the umask; refuses to touch a
// file that already exists.
void WriteNewFile(const std::filesystem::path& path, const std::string& bytes, mode_t mode);

// Writes a sibling "<name>.partial" and renames it over the file, so that a
// server never hands out half a manifest.
void ReplaceFile(const std::filesystem::path& path, const std::string& bytes);
