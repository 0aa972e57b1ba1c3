// Files read and written whole. A failure is always reported: a read error
// part-way is never taken for the end of the file.
#pragma once

#include <cstddef>
#include <functional>
#include <limits>
#include <string>

// How a read ended: true when every byte of the file was read; otherwise the
// step that failed and the system's error number (errno) for it.
struct FileRead {
    enum Failure { kNone, kCannotOpen, kCannotRead, kTooLarge };
    Failure failure = kNone;
    int systemError = 0;

    explicit operator bool() const { return failure == kNone; }
};

// Hands the file's bytes, in order, to `take` in pieces of at most 64 KiB.
// Fails when the file cannot be opened or a read fails.
FileRead ReadFileInPieces(const std::string& path,
                          const std::function<void(const char* bytes, std::size_t size)>& take);

// The file's bytes into `bytes`, which stay empty when the file cannot be
// opened, a read fails, or it holds more than `largest` bytes.
FileRead ReadWholeFile(const std::string& path, std::string* bytes,
                       std::size_t largest = std::numeric_limits<std::size_t>::max());

// Creates or replaces the file with exactly these bytes. False when it cannot
// be created or not every byte reached it.
bool WriteWholeFile(const std::string& path, const std::string& bytes);
