#include "run/UpdateLog.h"

#include <windows.h>

#include <cstdio>
#include <optional>

#include "FileSize.h"
#include "StdioFile.h"

void UpdateLog::Append(const std::string& text) {
    if (path_.empty()) return;
    SYSTEMTIME now;
    GetLocalTime(&now);
    char stamp[32];
    snprintf(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u:%02u ", now.wYear, now.wMonth, now.wDay, now.wHour,
             now.wMinute, now.wSecond);
    const std::string line = stamp + text + "\r\n";

    const std::optional<uint64_t> size = FileSizeOf(path_.c_str());
    if (size && *size > 0 && *size + line.size() > limit_) {
        MoveFileExA(path_.c_str(), (path_ + ".1").c_str(), MOVEFILE_REPLACE_EXISTING);
    }
    StdioFile file(std::fopen(path_.c_str(), "ab"));
    if (!file) return;
    std::fwrite(line.data(), 1, line.size(), file.Get());
}
