// CInetFile: one HTTP or HTTPS download into a local file, on a thread of its own.
//
// The owner fills the URL, local path and the rest, calls Start() and at once
// Wait(). No error escapes: the outcome is Completed() (the whole body arrived
// and was moved into place) and the file on disk. The body is written to
// "<local path>.download" and replaces the local path only when complete, so
// a failed or broken transfer leaves no new file and an older file untouched.
//
// Resume (SetResume): a transfer allowed to keep its partial file leaves it,
// with the answer's validator beside it (PartialFile.h), when it ends without
// the whole body. One allowed to resume asks for the rest of such a file
// only: "Range: bytes=N-" with "If-Range: <validator>". A 206 answer whose
// Content-Range continues the file to its end, with the same validator, is
// appended; a 200 answer starts the file again from zero; any other answer,
// or a changed validator, discards the partial file and the whole file is
// asked for anew. The file is complete only when it holds the whole length
// (for a 206 the total of its Content-Range).
//
// Progress (SetProgressReport): after each chunk written, the transfer's
// thread reports the percentage of the expected size (ProgressPercent); the
// owner decides where it goes (the engine posts it to its notify window).
//
// A transfer is broken off, as a failed one, when it sends more than it
// announced (see BodyCeiling), when its rate stays below the low-speed limit
// for the limit's period, and when a redirect leads off http and https.
#pragma once

#include "transfer/DownloadSuffix.h"
#include "transfer/LowSpeedWatch.h"
#include "run/WorkerThread.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class HttpGet;

class CInetFile : public WorkerThread {
public:
    // Raised inside the transfer with one of the causes below; its message is
    // stored in the file's last error text.
    class CInetFileException : public std::exception {
    public:
        explicit CInetFileException(int cause) : cause_(cause) {}
        int Cause() const { return cause_; }
        const char* what() const noexcept override { return "download failed"; }

    private:
        int cause_;
    };

    enum Cause {
        kBadUrl = 1,
        kConnectionRefused = 2,
        kRedirectFailed = 3,
        kBadRedirectUrl = 4,
        kNotHttp = 5,
        kServerFileFailed = 6,
        kLocalFileFailed = 7,
        kCancelled = 8,
        kUrlIncorrect = 9,
    };

    enum Kind { kManifest = 1, kNews = 2, kManifestItem = 3 };

    // Called on the transfer's thread with the percentage.
    using ProgressReport = std::function<void(int percent)>;

    static const DWORD kDefaultConnectTimeoutMs = 30000;
    static const DWORD kDefaultReceiveTimeoutMs = 60000;
    // Redirects followed for one transfer before it gives up.
    static const int kMaxRedirects = 10;

    CInetFile();
    ~CInetFile() override;  // cancels a running transfer and waits for its thread

    void SetUrl(const std::string& url) { url_ = url; }
    const std::string& Url() const { return url_; }
    void SetLocalPath(const std::string& path) { localPath_ = path; }
    void SetFileName(const std::string& name) { fileName_ = name; }
    void SetKind(int kind) { kind_ = kind; }
    void SetStatusCallback(bool on) { statusCallback_ = on; }
    // The manifest's Length: the progress figure's base, and the most the body
    // may carry when the server announces no Content-Length. 0: unknown.
    void SetExpectedSize(int64_t size) { expectedSize_ = size; }
    void SetItemFlags(bool registerFile, bool zipFile, bool forceOverwrite, bool execute,
                      const std::string& executePar);
    // None by default: no progress is reported.
    void SetProgressReport(ProgressReport report) { progressReport_ = std::move(report); }
    void SetTimeouts(DWORD connectMs, DWORD receiveMs);
    void SetLowSpeedLimit(const LowSpeedLimit& limit) { lowSpeedLimit_ = limit; }
    // `keepPartial`: an unfinished body stays for a later resume (when the
    // answer had a validator). `resumeExisting`: a partial file found with
    // its validator is continued. Both off by default.
    void SetResume(bool keepPartial, bool resumeExisting) {
        keepPartial_ = keepPartial;
        resumeExisting_ = resumeExisting;
    }

    const std::string& LastErrorText() const { return lastErrorText_; }
    bool Completed() const { return completed_; }
    // Bytes of the body received in this transfer (a resume's included, the
    // partial file's earlier bytes not).
    uint64_t BytesReceived() const { return bytesReceived_; }
    // Bytes of an earlier partial file that this transfer continued; 0 when
    // it fetched the whole file.
    uint64_t ResumedFrom() const { return resumedFrom_; }

    // What one request of the transfer asked and got, for the support log.
    struct RequestFacts {
        std::string url;           // the address asked for (each redirect is a request of its own)
        DWORD status = 0;          // of its answer, a redirect's too; 0: none
        std::string rangeAsked;    // the Range header's value; empty: the whole file
        std::string rangeGranted;  // the answer's Content-Range; empty: none
        uint64_t bytes = 0;        // body bytes received, those past a limit included
        uint64_t milliseconds = 0; // from sending to the end of its body
    };
    // The transfer's requests in order (a refused resume is followed by a
    // request for the whole file); read after Wait().
    const std::vector<RequestFacts>& Requests() const { return requests_; }

protected:
    void Run() override;

private:
    void Transfer();
    // Moves a partial file of `size` bytes, the whole file, into place.
    void CompletePartial(uint64_t size);
    DWORD SendFollowingRedirects(HttpGet& http, const std::string& headers);
    [[noreturn]] void Raise(int cause);
    std::string TemporaryPath() const { return localPath_ + kDownloadSuffix; }

    std::string lastErrorText_;
    bool statusCallback_ = false;
    int kind_ = kManifestItem;
    std::string localPath_;
    std::string fileName_;
    std::string url_;
    std::atomic<bool> cancelRequested_{false};
    std::atomic<uint64_t> bytesReceived_{0};
    int64_t expectedSize_ = 0;
    bool registerFile_ = false;
    bool zipFile_ = false;
    bool forceOverwrite_ = false;
    bool execute_ = false;
    std::string executePar_;
    ProgressReport progressReport_;
    DWORD connectTimeoutMs_ = kDefaultConnectTimeoutMs;
    DWORD receiveTimeoutMs_ = kDefaultReceiveTimeoutMs;
    LowSpeedLimit lowSpeedLimit_ = kDefaultLowSpeedLimit;
    std::atomic<bool> completed_{false};
    bool keepPartial_ = false;
    bool resumeExisting_ = false;
    std::atomic<uint64_t> resumedFrom_{0};
    std::vector<RequestFacts> requests_;
    uint64_t requestStart_ = 0;
};
