// UpdateLog: the support log, Update\Koravel.log in the update folder.
//
// Each Append writes one line, "YYYY-MM-DD hh:mm:ss <text>\r\n" in local
// time. The file stays below its limit (kDefaultLimit unless set): when a
// line would take it past the limit, the file becomes "<path>.1", replacing
// an older one, and a new file starts. A log that cannot be written is
// skipped silently; the update goes on without it.
#pragma once

#include <cstdint>
#include <string>

class UpdateLog {
public:
    static const uint64_t kDefaultLimit = 1024 * 1024;

    void Open(const std::string& path) { path_ = path; }
    void SetLimit(uint64_t bytes) { limit_ = bytes; }
    const std::string& Path() const { return path_; }
    void Append(const std::string& text);

private:
    std::string path_;
    uint64_t limit_ = kDefaultLimit;
};
