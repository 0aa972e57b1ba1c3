// Files that a test puts in the folder a web server serves from, and checks
// of what a download made of them. The bodies are too long to print, so a
// mismatch is told by its length and first differing byte.
#pragma once

#include <gtest/gtest.h>

#include <string>

// `size` bytes of a pattern that differs from byte to byte and by `seed`.
std::string PatternBody(size_t size, unsigned seed);

// Whether the file holds exactly `body`; says how it differs otherwise.
testing::AssertionResult HoldsBody(const std::string& path, const std::string& body);

// A file of a name no other test or overlapping run uses, in the served
// folder, removed with the object.
class WebRootFile {
public:
    WebRootFile(const std::string& folder, const std::string& tag, const std::string& body);
    ~WebRootFile();
    WebRootFile(const WebRootFile&) = delete;
    WebRootFile& operator=(const WebRootFile&) = delete;

    const std::string& Name() const { return name_; }
    std::string Path() const { return folder_ + "/" + name_; }
    // Puts other bytes in place of the file's, as a publisher replacing it.
    void Replace(const std::string& body) const;

private:
    std::string folder_;
    std::string name_;
};
