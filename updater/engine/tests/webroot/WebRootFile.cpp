#include "WebRootFile.h"

#include "TestFiles.h"

#include <windows.h>

std::string PatternBody(size_t size, unsigned seed) {
    std::string body(size, '\0');
    for (size_t i = 0; i < size; ++i) body[i] = static_cast<char>((i * 131 + seed * 7 + i / 251) & 0xff);
    return body;
}

testing::AssertionResult HoldsBody(const std::string& path, const std::string& body) {
    std::string content = ReadWholeFile(path);
    if (content == body) return testing::AssertionSuccess();
    size_t first = 0;
    while (first < content.size() && first < body.size() && content[first] == body[first]) ++first;
    return testing::AssertionFailure() << path << " holds " << content.size() << " bytes, not the " << body.size()
                                       << " served; the first difference is at byte " << first;
}

WebRootFile::WebRootFile(const std::string& folder, const std::string& tag, const std::string& body) : folder_(folder) {
    // The process, the moment and a serial: a server's log may still hold
    // the requests of an earlier run's process of the same id.
    static int serial = 0;
    name_ = tag + "-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount()) + "-" +
            std::to_string(serial++) + ".bin";
    EXPECT_TRUE(WriteWholeFile(Path(), body)) << Path();
}

WebRootFile::~WebRootFile() { DeleteFileA(Path().c_str()); }

void WebRootFile::Replace(const std::string& body) const { EXPECT_TRUE(WriteWholeFile(Path(), body)) << Path(); }
