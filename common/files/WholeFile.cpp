#include "WholeFile.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

struct StreamCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using Stream = std::unique_ptr<std::FILE, StreamCloser>;

const std::size_t kPieceBytes = 64 * 1024;

}  // namespace

FileRead ReadFileInPieces(const std::string& path,
                          const std::function<void(const char* bytes, std::size_t size)>& take) {
    FileRead result;
    Stream file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        result.failure = FileRead::kCannotOpen;
        result.systemError = errno;
        return result;
    }
    std::vector<char> piece(kPieceBytes);
    std::size_t got;
    while ((got = std::fread(piece.data(), 1, piece.size(), file.get())) > 0) take(piece.data(), got);
    // fread gives 0 at the end of the file and on an error alike.
    if (std::ferror(file.get())) {
        result.failure = FileRead::kCannotRead;
        result.systemError = errno;
    }
    return result;
}

FileRead ReadWholeFile(const std::string& path, std::string* bytes, std::size_t largest) {
    bytes->clear();
    bool fits = true;
    FileRead result = ReadFileInPieces(path, [&](const char* piece, std::size_t size) {
        if (!fits || size > largest - bytes->size()) {
            fits = false;
            return;
        }
        bytes->append(piece, size);
    });
    if (result && !fits) result.failure = FileRead::kTooLarge;
    if (!result) bytes->clear();
    return result;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    // Closing flushes the last bytes; a failure there is a failed write too.
    const bool closed = std::fclose(file) == 0;
    return written && closed;
}
