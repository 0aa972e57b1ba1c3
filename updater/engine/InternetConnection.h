// The WinINet calls of one HTTP GET, each handle closed by its owner. A
// failing call throws InternetFailure with the system's error code.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <string>

struct InternetFailure {
    DWORD error;
};

class InternetHandle {
public:
    explicit InternetHandle(HINTERNET handle = nullptr) : handle_(handle) {}
    ~InternetHandle() { Close(); }
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;

    HINTERNET Get() const { return handle_; }
    void Reset(HINTERNET handle) {
        Close();
        handle_ = handle;
    }
    void Close();

private:
    HINTERNET handle_;
};

// The parts of an absolute URL that the request needs.
struct ParsedUrl {
    bool isHttp = false;
    std::string host;
    INTERNET_PORT port = 0;
    std::string objectPath;  // path and query, as written in the URL
};

// False when the platform's URL parser refuses the text.
bool ParseUrl(const std::string& url, ParsedUrl* parsed);

// Session, connection and GET request, closed in reverse order.
class HttpGet {
public:
    HttpGet(const char* agent, DWORD connectTimeoutMs, DWORD receiveTimeoutMs);
    void Connect(const std::string& host, INTERNET_PORT port);
    // Opens the request (always from the server, never from the cache), adds
    // the headers if new and sends it; returns the status code.
    DWORD Send(const std::string& objectPath, const char* headers);
    // Content-Length of the response; false when the server sent none.
    bool ContentLength(DWORD* length);
    // Up to `size` bytes of the body; 0 at its end.
    DWORD Read(void* buffer, DWORD size);

private:
    DWORD connectTimeoutMs_;
    DWORD receiveTimeoutMs_;
    InternetHandle session_;
    InternetHandle connection_;
    InternetHandle request_;
};
