#include "TestHttpServer.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace {

// Keeps Winsock started for the server's life.
class WinsockUser {
public:
    WinsockUser() {
        WSADATA data;
        if (WSAStartup(MAKEWORD(2, 2), &data) != 0) throw std::runtime_error("WSAStartup failed");
    }
    ~WinsockUser() { WSACleanup(); }
};

bool SendAll(SOCKET socket, const char* bytes, size_t length) {
    while (length > 0) {
        int sent = send(socket, bytes, static_cast<int>(std::min<size_t>(length, 65536)), 0);
        if (sent <= 0) return false;
        bytes += sent;
        length -= static_cast<size_t>(sent);
    }
    return true;
}

const char* Reason(int status) {
    switch (status) {
        case 200: return "OK";
        case 301: return "Moved Permanently";
        case 302: return "Found";
        case 206: return "Partial Content";
        case 307: return "Temporary Redirect";
        case 404: return "Not Found";
        case 416: return "Range Not Satisfiable";
        case 500: return "Internal Server Error";
        default: return "Status";
    }
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

std::string TestHttpServer::Request::Header(const std::string& name) const {
    std::string wanted = Lower(name) + ":";
    for (const std::string& line : headers) {
        if (Lower(line.substr(0, wanted.size())) == wanted) {
            size_t start = line.find_first_not_of(' ', wanted.size());
            return start == std::string::npos ? std::string() : line.substr(start);
        }
    }
    return std::string();
}

TestHttpServer::TestHttpServer() {
    static WinsockUser winsock;
    SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (listener == INVALID_SOCKET) throw std::runtime_error("socket failed");
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    int length = sizeof address;
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(listener, 16) != 0 ||
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        closesocket(listener);
        throw std::runtime_error("cannot listen on 127.0.0.1");
    }
    listener_ = static_cast<unsigned int>(listener);
    port_ = ntohs(address.sin_port);
    acceptor_ = std::thread([this] { AcceptLoop(); });
}

TestHttpServer::~TestHttpServer() {
    {
        std::lock_guard<std::mutex> guard(lock_);
        stopping_ = true;
        for (unsigned int client : clients_) shutdown(static_cast<SOCKET>(client), SD_BOTH);
    }
    stopSignal_.notify_all();
    closesocket(static_cast<SOCKET>(listener_));
    acceptor_.join();
    for (std::thread& handler : handlers_) handler.join();
}

std::string TestHttpServer::Url(const std::string& target) const {
    return "http://127.0.0.1:" + std::to_string(port_) + target;
}

void TestHttpServer::Register(const std::string& target, const Response& response) {
    std::lock_guard<std::mutex> guard(lock_);
    responses_[target] = response;
}

void TestHttpServer::Serve(const std::string& target, const std::string& body) {
    Response response;
    response.mode = Mode::kBody;
    response.status = 200;
    response.body = body;
    Register(target, response);
}

void TestHttpServer::ServeStatus(const std::string& target, int status) {
    Response response;
    response.mode = Mode::kStatus;
    response.status = status;
    Register(target, response);
}

void TestHttpServer::ServeStalled(const std::string& target) {
    Response response;
    response.mode = Mode::kStall;
    Register(target, response);
}

void TestHttpServer::ServeCutShort(const std::string& target, const std::string& body, size_t sentBytes) {
    Response response;
    response.mode = Mode::kCutShort;
    response.status = 200;
    response.body = body;
    response.sentBytes = sentBytes;
    Register(target, response);
}

void TestHttpServer::ServeSlowly(const std::string& target, const std::string& body, size_t pieceSize, int pauseMs) {
    Response response;
    response.mode = Mode::kSlow;
    response.status = 200;
    response.body = body;
    response.pieceSize = pieceSize;
    response.pauseMs = pauseMs;
    Register(target, response);
}

void TestHttpServer::ServeRedirect(const std::string& target, int status, const std::string& location) {
    Response response;
    response.mode = Mode::kRedirect;
    response.status = status;
    response.location = location;
    Register(target, response);
}

void TestHttpServer::ServeUnannounced(const std::string& target, const std::string& body) {
    Response response;
    response.mode = Mode::kUnannounced;
    response.status = 200;
    response.body = body;
    Register(target, response);
}

void TestHttpServer::ServeVersions(const std::string& target, const std::vector<Version>& versions,
                                   bool honourRanges) {
    Response response;
    response.mode = Mode::kVersions;
    response.status = 200;
    response.versions = versions;
    response.honourRanges = honourRanges;
    Register(target, response);
}

size_t TestHttpServer::BodyBytesSent(const std::string& target) const {
    std::lock_guard<std::mutex> guard(lock_);
    auto found = bodyBytes_.find(target);
    return found == bodyBytes_.end() ? 0 : found->second;
}

void TestHttpServer::CountBody(const std::string& target, size_t bytes) {
    std::lock_guard<std::mutex> guard(lock_);
    bodyBytes_[target] += bytes;
}

std::vector<TestHttpServer::Request> TestHttpServer::Requests() const {
    std::lock_guard<std::mutex> guard(lock_);
    return requests_;
}

int TestHttpServer::RequestCount(const std::string& target) const {
    std::lock_guard<std::mutex> guard(lock_);
    return static_cast<int>(std::count_if(requests_.begin(), requests_.end(),
                                          [&](const Request& request) { return request.target == target; }));
}

bool TestHttpServer::StoppingWithin(int ms) {
    std::unique_lock<std::mutex> guard(lock_);
    return stopSignal_.wait_for(guard, std::chrono::milliseconds(ms), [this] { return stopping_; });
}

void TestHttpServer::AcceptLoop() {
    for (;;) {
        SOCKET client = accept(static_cast<SOCKET>(listener_), nullptr, nullptr);
        if (client == INVALID_SOCKET) return;  // the listener was closed
        std::lock_guard<std::mutex> guard(lock_);
        if (stopping_) {
            closesocket(client);
            return;
        }
        clients_.push_back(static_cast<unsigned int>(client));
        handlers_.emplace_back([this, client] { Handle(static_cast<unsigned int>(client)); });
    }
}

// One request per connection: the answer says "Connection: close".
void TestHttpServer::Handle(unsigned int clientHandle) {
    SOCKET client = static_cast<SOCKET>(clientHandle);
    std::string received;
    char buffer[4096];
    while (received.find("\r\n\r\n") == std::string::npos) {
        int got = recv(client, buffer, sizeof buffer, 0);
        if (got <= 0) break;
        received.append(buffer, static_cast<size_t>(got));
    }
    size_t headEnd = received.find("\r\n\r\n");
    if (headEnd != std::string::npos) {
        Request request;
        std::vector<std::string> lines;
        size_t start = 0;
        while (start < headEnd) {
            size_t end = received.find("\r\n", start);
            lines.push_back(received.substr(start, end - start));
            start = end + 2;
        }
        const std::string& requestLine = lines.front();
        size_t firstBlank = requestLine.find(' ');
        size_t lastBlank = requestLine.rfind(' ');
        request.method = requestLine.substr(0, firstBlank);
        if (firstBlank != std::string::npos && lastBlank > firstBlank) {
            request.target = requestLine.substr(firstBlank + 1, lastBlank - firstBlank - 1);
        }
        request.headers.assign(lines.begin() + 1, lines.end());
        Response response;
        size_t answerIndex = 0;
        {
            std::lock_guard<std::mutex> guard(lock_);
            for (const Request& earlier : requests_) answerIndex += earlier.target == request.target;
            requests_.push_back(request);
            auto found = responses_.find(request.target);
            if (found != responses_.end()) response = found->second;
        }
        Respond(client, response, request, answerIndex);
    }
    {
        std::lock_guard<std::mutex> guard(lock_);
        clients_.erase(std::remove(clients_.begin(), clients_.end(), clientHandle), clients_.end());
    }
    shutdown(client, SD_SEND);
    closesocket(client);
}

bool TestHttpServer::RespondVersion(unsigned int clientHandle, const Response& response, const Request& request,
                                    size_t answerIndex) {
    SOCKET client = static_cast<SOCKET>(clientHandle);
    if (response.versions.empty()) return false;
    const Version& version = response.versions[std::min(answerIndex, response.versions.size() - 1)];
    int status = 200;
    size_t first = 0;
    const std::string range = request.Header("Range");
    const std::string prefix = "bytes=";
    if (response.honourRanges && range.compare(0, prefix.size(), prefix) == 0 && range.back() == '-') {
        const std::string ifRange = request.Header("If-Range");
        const std::string current = version.etag.empty() ? version.lastModified : version.etag;
        size_t start = std::strtoul(range.c_str() + prefix.size(), nullptr, 10);
        if (version.grantFrom != std::string::npos) start = version.grantFrom;
        if (!ifRange.empty() && ifRange != current && !version.ignoreIfRange) {
            status = 200;
        } else if (start >= version.body.size()) {
            status = 416;
        } else {
            status = 206;
            first = start;
        }
    }
    std::string head = "HTTP/1.1 " + std::to_string(status) + " " + Reason(status) +
                       "\r\nContent-Type: application/octet-stream\r\n";
    if (!version.etag.empty()) head += "ETag: " + version.etag + "\r\n";
    if (!version.lastModified.empty()) head += "Last-Modified: " + version.lastModified + "\r\n";
    if (response.honourRanges) head += "Accept-Ranges: bytes\r\n";
    std::string body;
    if (status == 206) {
        body = version.body.substr(first);
        head += "Content-Range: bytes " + std::to_string(first) + "-" + std::to_string(version.body.size() - 1) + "/" +
                std::to_string(version.body.size()) + "\r\n";
    } else if (status == 200) {
        body = version.body;
    } else {
        head += "Content-Range: bytes */" + std::to_string(version.body.size()) + "\r\n";
    }
    head += "Content-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n";
    if (!SendAll(client, head.data(), head.size())) return false;
    size_t sending = std::min(version.cutAfter, body.size());
    CountBody(request.target, sending);
    return SendAll(client, body.data(), sending);
}

bool TestHttpServer::Respond(unsigned int clientHandle, const Response& response, const Request& request,
                             size_t answerIndex) {
    SOCKET client = static_cast<SOCKET>(clientHandle);
    if (response.mode == Mode::kVersions) return RespondVersion(clientHandle, response, request, answerIndex);
    if (response.mode == Mode::kStall) {
        StoppingWithin(1000 * 3600);
        return false;
    }
    std::string body;
    if (response.mode == Mode::kStatus) body = Reason(response.status);
    if (response.mode != Mode::kStatus && response.mode != Mode::kRedirect) body = response.body;
    std::string head = "HTTP/1.1 " + std::to_string(response.status) + " " + Reason(response.status) +
                       "\r\nContent-Type: application/octet-stream\r\n";
    if (response.mode == Mode::kRedirect) head += "Location: " + response.location + "\r\n";
    if (response.mode != Mode::kUnannounced) head += "Content-Length: " + std::to_string(body.size()) + "\r\n";
    head += "Connection: close\r\n\r\n";
    if (!SendAll(client, head.data(), head.size())) return false;
    switch (response.mode) {
        case Mode::kCutShort:
            return SendAll(client, body.data(), std::min(response.sentBytes, body.size()));
        case Mode::kSlow:
            for (size_t offset = 0; offset < body.size(); offset += response.pieceSize) {
                if (!SendAll(client, body.data() + offset, std::min(response.pieceSize, body.size() - offset))) {
                    return false;
                }
                if (StoppingWithin(response.pauseMs)) return false;
            }
            return true;
        default:
            return SendAll(client, body.data(), body.size());
    }
}
