#include "InternetConnection.h"

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

void InternetHandle::Close() {
    if (handle_ != nullptr) InternetCloseHandle(handle_);
    handle_ = nullptr;
}

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
    parsed->host.assign(host.data(), parts.dwHostNameLength);
    parsed->port = parts.nPort;
    parsed->objectPath.assign(path.data(), parts.dwUrlPathLength);
    parsed->objectPath.append(extra.data(), parts.dwExtraInfoLength);
    if (parsed->objectPath.empty()) parsed->objectPath = "/";
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
    HINTERNET connection = InternetConnectA(session_.Get(), host.c_str(), port, nullptr, nullptr,
                                            INTERNET_SERVICE_HTTP, 0, kContext);
    connection_.Reset(Checked(connection));
    ApplyTimeouts(connection_.Get(), connectTimeoutMs_, receiveTimeoutMs_);
}

DWORD HttpGet::Send(const std::string& objectPath, const char* headers) {
    HINTERNET request = HttpOpenRequestA(connection_.Get(), "GET", objectPath.c_str(), nullptr, nullptr, nullptr,
                                         INTERNET_FLAG_RELOAD, kContext);
    request_.Reset(Checked(request));
    ApplyTimeouts(request_.Get(), connectTimeoutMs_, receiveTimeoutMs_);
    Check(HttpAddRequestHeadersA(request_.Get(), headers, static_cast<DWORD>(-1L), HTTP_ADDREQ_FLAG_ADD_IF_NEW));
    Check(HttpSendRequestA(request_.Get(), nullptr, 0, nullptr, 0));
    DWORD status = 0, size = sizeof status;
    Check(HttpQueryInfoA(request_.Get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr));
    return status;
}

bool HttpGet::ContentLength(DWORD* length) {
    DWORD size = sizeof *length;
    return HttpQueryInfoA(request_.Get(), HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, length, &size,
                          nullptr) != FALSE;
}

DWORD HttpGet::Read(void* buffer, DWORD size) {
    DWORD got = 0;
    Check(InternetReadFile(request_.Get(), buffer, size, &got));
    return got;
}
