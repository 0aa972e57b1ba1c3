#include "FileDate.h"

#include "run/Clock.h"
#include "PublishError.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

int UtcDateNumber(std::time_t time) {
    std::tm fields{};
    gmtime_r(&time, &fields);
    return DateNumber(fields.tm_year + 1900, fields.tm_mon + 1, fields.tm_mday);
}

std::time_t ModificationTime(const std::filesystem::path& path) {
    struct stat status{};
    if (::stat(path.c_str(), &status) != 0) {
        throw PublishError(path.string() + ": cannot read its modification time: " + std::strerror(errno));
    }
    return status.st_mtime;
}
