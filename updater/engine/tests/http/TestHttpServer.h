// A small HTTP/1.1 server on 127.0.0.1 (ephemeral port) for tests of code
// that downloads over WinINet. It serves what the test registers per request
// target (the path exactly as the client sent it), answers 404 for anything
// else, and records every request's line and headers.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class TestHttpServer {
public:
    struct Request {
        std::string method;
        std::string target;                // as sent, escapes included
        std::vector<std::string> headers;  // "Name: value" lines
        // Value of the first header of that name (case-insensitive); empty if none.
        std::string Header(const std::string& name) const;
    };

    TestHttpServer();  // listening when constructed; throws std::runtime_error if it cannot
    ~TestHttpServer();
    TestHttpServer(const TestHttpServer&) = delete;
    TestHttpServer& operator=(const TestHttpServer&) = delete;

    unsigned short Port() const { return port_; }
    // "http://127.0.0.1:<port>" followed by the target.
    std::string Url(const std::string& target) const;

    void Serve(const std::string& target, const std::string& body);
    void ServeStatus(const std::string& target, int status);
    // Reads the request and never answers (until the server is destroyed).
    void ServeStalled(const std::string& target);
    // Announces the whole body's Content-Length, sends only `sentBytes` of it
    // and closes the connection.
    void ServeCutShort(const std::string& target, const std::string& body, size_t sentBytes);
    // Sends the body in pieces of `pieceSize` bytes with a pause between them.
    void ServeSlowly(const std::string& target, const std::string& body, size_t pieceSize, int pauseMs);
    // Answers `status` with the header "Location: <location>" and no body.
    void ServeRedirect(const std::string& target, int status, const std::string& location);
    // Sends the body without a Content-Length; closing the connection ends it.
    void ServeUnannounced(const std::string& target, const std::string& body);

    // One state of a file that answers ranges like a file server.
    struct Version {
        std::string body;
        std::string etag;          // sent as ETag when not empty (quotes included)
        std::string lastModified;  // sent as Last-Modified when not empty
        // Body bytes sent before the connection is closed (the head announces
        // the whole answer); npos: all of them.
        size_t cutAfter = std::string::npos;
        // Answers a range whatever If-Range names, as a careless cache does.
        bool ignoreIfRange = false;
        // Answers a range from this byte instead of the one asked; npos: as asked.
        size_t grantFrom = std::string::npos;
    };
    // The k-th request of the target gets versions[k] (the last one from then
    // on), so a file can change, or a cut heal, between two requests. With
    // `honourRanges`, "Range: bytes=N-" is answered 206 with
    // "Content-Range: bytes N-<last>/<total>" when an If-Range given equals
    // the version's ETag (else its Last-Modified), 200 with the whole body
    // when it does not, and 416 when N is not inside the body; without it a
    // Range is ignored and the whole body sent with 200.
    void ServeVersions(const std::string& target, const std::vector<Version>& versions, bool honourRanges);
    // Body bytes sent so far for the target, over all its answers.
    size_t BodyBytesSent(const std::string& target) const;

    std::vector<Request> Requests() const;
    int RequestCount(const std::string& target) const;

private:
    enum class Mode { kBody, kStatus, kStall, kCutShort, kSlow, kRedirect, kUnannounced, kVersions };
    struct Response {
        Mode mode = Mode::kStatus;
        int status = 404;
        std::string body;
        std::string location;
        size_t sentBytes = 0;
        size_t pieceSize = 0;
        int pauseMs = 0;
        std::vector<Version> versions;
        bool honourRanges = false;
    };

    // Replaces what the target answers.
    void Register(const std::string& target, const Response& response);
    void AcceptLoop();
    void Handle(unsigned int client);
    bool Respond(unsigned int client, const Response& response, const Request& request, size_t answerIndex);
    bool RespondVersion(unsigned int client, const Response& response, const Request& request, size_t answerIndex);
    void CountBody(const std::string& target, size_t bytes);
    // Waits up to `ms`; true when the server is stopping.
    bool StoppingWithin(int ms);

    unsigned int listener_;
    unsigned short port_ = 0;
    mutable std::mutex lock_;
    std::condition_variable stopSignal_;
    bool stopping_ = false;
    std::map<std::string, Response> responses_;
    std::vector<Request> requests_;
    std::map<std::string, size_t> bodyBytes_;
    std::vector<unsigned int> clients_;
    std::vector<std::thread> handlers_;
    std::thread acceptor_;
};
