#include "HttpDownload.h"

#include <windows.h>
#include <wininet.h>

#include <cstdio>

#include "InternetHandle.h"
#include "StdioFile.h"

namespace {

DWORD StatusCode(HINTERNET request) {
    DWORD status = 0;
    DWORD size = sizeof status;
    if (!HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr)) return 0;
    return status;
}

}  // namespace

bool DownloadToFile(const std::string& url, const std::string& localPath) {
    InternetHandle internet(InternetOpenA("Quorvane demo client", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
    if (!internet) return false;
    DWORD timeout = 10000;
    InternetSetOptionA(internet.Get(), INTERNET_OPTION_CONNECT_TIMEOUT, &timeout, sizeof timeout);
    InternetSetOptionA(internet.Get(), INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof timeout);
    InternetHandle request(InternetOpenUrlA(internet.Get(), url.c_str(), nullptr, 0,
                                            INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0));
    if (!request || StatusCode(request.Get()) != 200) return false;

    StdioFile file(std::fopen(localPath.c_str(), "wb"));
    if (!file) return false;
    char buffer[4096];
    for (;;) {
        DWORD read = 0;
        if (!InternetReadFile(request.Get(), buffer, sizeof buffer, &read)) return false;
        if (read == 0) break;
        if (std::fwrite(buffer, 1, read, file.Get()) != read) return false;
    }
    return std::fflush(file.Get()) == 0;
}
