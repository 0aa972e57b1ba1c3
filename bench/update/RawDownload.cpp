#include "RawDownload.h"

#include <windows.h>
#include <wininet.h>

#include <vector>

#include "InternetHandle.h"
#include "KernelHandles.h"

namespace {

class OutputFile {
public:
    explicit OutputFile(const std::string& path)
        : handle_(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr))
    {
    }
    bool IsOpen() const { return handle_.IsValid(); }
    bool Write(const char* bytes, DWORD count)
    {
        DWORD written = 0;
        return WriteFile(handle_.Get(), bytes, count, &written, nullptr) && written == count;
    }

private:
    FileHandle handle_;
};

}  // namespace

long long RawDownload(const std::string& url, const std::string& localPath)
{
    char host[256] = {};
    char path[2048] = {};
    URL_COMPONENTSA parts = {};
    parts.dwStructSize = sizeof parts;
    parts.lpszHostName = host;
    parts.dwHostNameLength = sizeof host;
    parts.lpszUrlPath = path;
    parts.dwUrlPathLength = sizeof path;
    if (!InternetCrackUrlA(url.c_str(), 0, 0, &parts)) return -1;

    InternetHandle session(InternetOpenA("bench", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    InternetHandle connection(session.Get() == nullptr ? nullptr
                                                       : InternetConnectA(session.Get(), host, parts.nPort, nullptr,
                                                                          nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    InternetHandle request(connection.Get() == nullptr
                               ? nullptr
                               : HttpOpenRequestA(connection.Get(), "GET", path, nullptr, nullptr, nullptr,
                                                  INTERNET_FLAG_RELOAD, 0));
    if (request.Get() == nullptr || !HttpSendRequestA(request.Get(), nullptr, 0, nullptr, 0)) return -1;
    OutputFile file(localPath);
    if (!file.IsOpen()) return -1;

    std::vector<char> chunk(8192);
    long long total = 0;
    DWORD got = 0;
    while (InternetReadFile(request.Get(), chunk.data(), static_cast<DWORD>(chunk.size()), &got) && got > 0) {
        if (!file.Write(chunk.data(), got)) return -1;
        total += got;
    }
    return total;
}
