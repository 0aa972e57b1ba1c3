// What the tests of koravel-publish share: running the tool's commands in
// this process, release folders with chosen file dates, GB2312 texts made
// independently of the tool, and the items of a written manifest.
#pragma once

#include <ctime>
#include <map>
#include <string>
#include <vector>

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

// koravel-publish with these words, as main() runs it.
ToolRun RunTool(const std::vector<std::string>& words);

// Writes root/relative ('/'-separated), creating its folders, and gives it
// the modification time.
void PutFile(const std::string& root, const std::string& relative, const std::string& bytes,
             std::time_t modified = 1717457400 /* 2024-06-03T23:30:00Z */);

// The text in GB2312, converted with the system's iconv.
std::string Gb2312(const std::string& utf8);

// The <File> items of a manifest in document order: field name to text, with
// XML's entities decoded.
using ManifestFieldMap = std::map<std::string, std::string>;
std::vector<ManifestFieldMap> ManifestItems(const std::string& xml);

// The path of an http URL with its %XX escapes decoded: what a server looks up.
std::string DecodedUrlPath(const std::string& url);

// Sets TZ for the lifetime of the object, so that local and UTC dates differ.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* zone);
    ~ScopedTimeZone();
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

private:
    bool hadZone_;
    std::string previous_;
};
