#include "FileIo.h"

#include "PublishError.h"
#include "WholeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// One open file descriptor, closed when the owner goes.
class UniqueFd {
public:
    explicit UniqueFd(int fd) : fd_(fd) {}
    ~UniqueFd() {
        if (fd_ >= 0) ::close(fd_);
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int Get() const { return fd_; }
    // Closes now, so that a failed close (a full disk on some file systems)
    // is reported rather than lost.
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

[[noreturn]] void Fail(const std::filesystem::path& path, const char* what, int error) {
    throw PublishError(path.string() + ": " + what + ": " + std::strerror(error));
}

void WriteAll(UniqueFd& file, const std::filesystem::path& path, const std::string& bytes) {
    size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t step = ::write(file.Get(), bytes.data() + written, bytes.size() - written);
        if (step < 0 && errno == EINTR) continue;
        if (step < 0) Fail(path, "cannot write", errno);
        written += static_cast<size_t>(step);
    }
    if (!file.Close()) Fail(path, "cannot write", errno);
}

}  // namespace

std::string ReadFileBytes(const std::filesystem::path& path) {
    std::string bytes;
    const FileRead read = ReadWholeFile(path.string(), &bytes);
    if (read.failure == FileRead::kCannotOpen) Fail(path, "cannot open", read.systemError);
    if (!read) Fail(path, "cannot read", read.systemError);
    return bytes;
}

void WriteNewFile(const std::filesystem::path& path, const std::string& bytes, mode_t mode) {
    UniqueFd file(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
    if (file.Get() < 0) {
        if (errno == EEXIST) throw PublishError(path.string() + ": already exists; not overwritten");
        Fail(path, "cannot create", errno);
    }
    // The umask may have taken bits away; the mode asked for is the one meant.
    if (::fchmod(file.Get(), mode) != 0) Fail(path, "cannot set the file mode", errno);
    WriteAll(file, path, bytes);
}

void ReplaceFile(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::path partial = path;
    partial += ".partial";
    UniqueFd file(::open(partial.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (file.Get() < 0) Fail(path, "cannot create", errno);
    try {
        WriteAll(file, path, bytes);
    } catch (...) {
        ::unlink(partial.c_str());
        throw;
    }
    if (std::rename(partial.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(partial.c_str());
        Fail(path, "cannot replace", error);
    }
}
