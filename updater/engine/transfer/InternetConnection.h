// The WinINet calls of one HTTP GET, each handle closed by its owner. A
// failing call throws InternetFailure with the system's error code.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <cstdint>
#include <string>

#include "InternetHandle.h"

struct InternetFailure {
    DWORD error;
};

// The parts of an absolute URL that the request needs.
struct ParsedUrl {
    bool isHttp = false;
    bool isHttps = false;
    std::string host;
    INTERNET_PORT port = 0;
    std::string objectPath;  // path and query, as written in the URL
};

// False when the platform's URL parser refuses the text.
bool ParseUrl(const std::string& url, ParsedUrl* parsed);

// The absolute URL that `reference` (a redirect's Location, absolute or
// relative) names when read against `base`; false when it cannot be formed.
bool ResolveUrl(const std::string& base, const std::string& reference, std::string* resolved);

// Session, connection and GET request, closed in reverse order.
class HttpGet {
public:
    HttpGet(const char* agent, DWORD connectTimeoutMs, DWORD receiveTimeoutMs);
    // Connects to the server, closing any earlier request and connection.
    void Connect(const std::string& host, INTERNET_PORT port);
    // Opens the request (always from the server, never from the cache, over
    // TLS when `secure`), adds the headers if new and sends it; returns the
    // status code. Redirects are not followed: a 3xx answer is returned as
    // it is, for the caller to judge where it leads.
    DWORD Send(const std::string& objectPath, const char* headers, bool secure);
    // Content-Length of the response, 64 bits wide; false when the server
    // sent none (or none that is a number).
    bool ContentLength(uint64_t* length);
    // The response's Location header; false when there is none or it is
    // longer than a URL may be.
    bool Location(std::string* location);
    // A response header's value by its query code (HTTP_QUERY_ETAG and the
    // like); false when the response has none or it is longer than 1024.
    bool ResponseHeader(DWORD query, std::string* value);
    // Up to `size` bytes of the body, as many as have arrived (waiting for
    // the first of them); 0 at its end.
    DWORD ReadArrived(void* buffer, DWORD size);

private:
    DWORD connectTimeoutMs_;
    DWORD receiveTimeoutMs_;
    InternetHandle session_;
    InternetHandle connection_;
    InternetHandle request_;
};
