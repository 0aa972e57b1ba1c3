// FileDateLow of a release file: the calendar date of its last modification,
// as the number YYYYMMDD.
//
// The date is taken in UTC, not in the publishing machine's zone: the result
// does not depend on where the manifest is made, and the clients (China,
// UTC+8) date their downloaded copies in local time, which is never earlier
// than the UTC date of the same instant. So an installed copy fetched after
// publishing is never taken for older than the manifest says.
#pragma once

#include <ctime>
#include <filesystem>

int UtcDateNumber(std::time_t time);

// PublishError when the file's status cannot be read.
std::time_t ModificationTime(const std::filesystem::path& path);
