#include "transfer/InternetConnection.h"

#include "transfer/TransferLimits.h"

#include <cstring>
#include <vector>

namespace {

void Check(BOOL succeeded) {
    if (!succeeded) throw InternetFailure{GetLastError()};
}

HINTERNET Checked(HINTERNET handle) {
    if (handle == nullptr) throw InternetFailure{GetLastError()};
    return handle;
}

const DWORD_PTR kContext = 1;

// Set on the session and again on the connection and the request: not every
// WinINet passes the session's values down to the handles it derives.
void ApplyTimeouts(HINTERNET handle, DWORD connectMs, DWORD receiveMs) {
    InternetSetOptionA(handle, INTERNET_OPTION_CONNECT_TIMEOUT, &connectMs, sizeof connectMs);
    InternetSetOptionA(handle, INTERNET_OPTION_SEND_TIMEOUT, &receiveMs, sizeof receiveMs);
    InternetSetOptionA(handle, INTERNET_OPTION_RECEIVE_TIMEOUT, &receiveMs, sizeof receiveMs);
    InternetSetOptionA(handle, INTERNET_OPTION_DATA_RECEIVE_TIMEOUT, &receiveMs, sizeof receiveMs);
}

}  // namespace

bool ParseUrl(const std::string& url, ParsedUrl* parsed) {
    std::vector<char> host(url.size() + 1), path(url.size() + 1), extra(url.size() + 1);
    URL_COMPONENTSA parts = {};
    parts.dwStructSize = sizeof parts;
    parts.lpszHostName = host.data();
    parts.dwHostNameLength = static_cast<DWORD>(host.size());
    parts.lpszUrlPath = path.data();
    parts.dwUrlPathLength = static_cast<DWORD>(path.size());
    parts.lpszExtraInfo = extra.data();
    parts.dwExtraInfoLength = static_cast<DWORD>(extra.size());
    if (url.empty() || !InternetCrackUrlA(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts)) return false;
    parsed->isHttp = parts.nScheme == INTERNET_SCHEME_HTTP;
    parsed->isHttps = parts.nScheme == INTERNET_SCHEME_HTTPS;
    parsed->host.assign(host.data(), parts.dwHostNameLength);
    parsed->port = parts.nPort;
    parsed->objectPath.assign(path.data(), parts.dwUrlPathLength);
    parsed->objectPath.append(extra.data(), parts.dwExtraInfoLength);
    if (parsed->objectPath.empty()) parsed->objectPath = "/";
    return true;
}

bool ResolveUrl(const std::string& base, const std::string& reference, std::string* resolved) {
    char combined[INTERNET_MAX_URL_LENGTH + 1] = {};
    DWORD size = sizeof combined;
    // The server's Location is taken as it is written, escapes included.
    if (!InternetCombineUrlA(base.c_str(), reference.c_str(), combined, &size, ICU_NO_ENCODE)) return false;
    resolved->assign(combined, strnlen(combined, sizeof combined));
    return true;
}

HttpGet::HttpGet(const char* agent, DWORD connectTimeoutMs, DWORD receiveTimeoutMs)
    : connectTimeoutMs_(connectTimeoutMs),
      receiveTimeoutMs_(receiveTimeoutMs),
      session_(Checked(InternetOpenA(agent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0))) {
    // Without time-outs a stalled server would hold the updater (and its
    // single-instance lock) forever.
    ApplyTimeouts(session_.Get(), connectTimeoutMs, receiveTimeoutMs);
}

void HttpGet::Connect(const std::string& host, INTERNET_PORT port) {
    request_.Reset();
    connection_.Reset();
    HINTERNET connection = InternetConnectA(session_.Get(), host.c_str(), port, nullptr, nullptr,
                                            INTERNET_SERVICE_HTTP, 0, kContext);
    connection_.Reset(Checked(connection));
    ApplyTimeouts(connection_.Get(), connectTimeoutMs_, receiveTimeoutMs_);
}

DWORD HttpGet::Send(const std::string& objectPath, const char* headers, bool secure) {
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_AUTO_REDIRECT | (secure ? INTERNET_FLAG_SECURE : 0);
    HINTERNET request =
        HttpOpenRequestA(connection_.Get(), "GET", objectPath.c_str(), nullptr, nullptr, nullptr, flags, kContext);
    request_.Reset(Checked(request));
    ApplyTimeouts(request_.Get(), connectTimeoutMs_, receiveTimeoutMs_);
    Check(HttpAddRequestHeadersA(request_.Get(), headers, static_cast<DWORD>(-1L), HTTP_ADDREQ_FLAG_ADD_IF_NEW));
    Check(HttpSendRequestA(request_.Get(), nullptr, 0, nullptr, 0));
    DWORD status = 0, size = sizeof status;
    Check(HttpQueryInfoA(request_.Get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr));
    return status;
}

bool HttpGet::ContentLength(uint64_t* length) {
    // As text: the numeric form of the query is 32 bits wide.
    char text[32] = {};
    DWORD size = sizeof text - 1;
    if (!HttpQueryInfoA(request_.Get(), HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr)) return false;
    return ParseContentLength(std::string(text, strnlen(text, sizeof text)), length);
}

bool HttpGet::Location(std::string* location) {
    char text[INTERNET_MAX_URL_LENGTH + 1] = {};
    DWORD size = sizeof text - 1;
    if (!HttpQueryInfoA(request_.Get(), HTTP_QUERY_LOCATION, text, &size, nullptr)) return false;
    location->assign(text, strnlen(text, sizeof text));
    return !location->empty();
}

bool HttpGet::ResponseHeader(DWORD query, std::string* value) {
    char text[1025] = {};
    DWORD size = sizeof text - 1;
    if (!HttpQueryInfoA(request_.Get(), query, text, &size, nullptr)) return false;
    value->assign(text, strnlen(text, sizeof text));
    return !value->empty();
}

DWORD HttpGet::ReadArrived(void* buffer, DWORD size) {
    // A plain read waits until the whole buffer is filled, however slowly
    // the server sends; asking first what has arrived returns sooner.
    DWORD available = 0;
    Check(InternetQueryDataAvailable(request_.Get(), &available, 0, 0));
    if (available == 0) return 0;
    DWORD got = 0;
    Check(InternetReadFile(request_.Get(), buffer, available < size ? available : size, &got));
    return got;
}
