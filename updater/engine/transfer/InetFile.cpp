#include "transfer/InetFile.h"

#include <algorithm>

#include "run/EngineTexts.h"
#include "transfer/InternetConnection.h"
#include "transfer/PartialFile.h"
#include "transfer/RequestPath.h"
#include "transfer/ResumeValidator.h"
#include "run/StepMarks.h"
#include "transfer/TransferLimits.h"

#include <string>

#include <cstdio>

namespace {

const char kAgent[] = "Koravel - MFC App";
const char kHeaders[] = "Accept: */*\r\nUser-Agent: QMWL Koravel\r\n";
const DWORD kChunkSize = 8192;

bool IsRedirect(DWORD status) {
    return status == HTTP_STATUS_MOVED || status == HTTP_STATUS_REDIRECT || status == HTTP_STATUS_REDIRECT_METHOD ||
           status == HTTP_STATUS_REDIRECT_KEEP_VERB || status == 308;
}

}  // namespace

CInetFile::CInetFile() : lastErrorText_(InetFailureText(0)) {}

CInetFile::~CInetFile() {
    cancelRequested_ = true;
    Wait();
}

void CInetFile::SetItemFlags(bool registerFile, bool zipFile, bool forceOverwrite, bool execute,
                             const std::string& executePar) {
    registerFile_ = registerFile;
    zipFile_ = zipFile;
    forceOverwrite_ = forceOverwrite;
    execute_ = execute;
    executePar_ = executePar;
}

void CInetFile::SetTimeouts(DWORD connectMs, DWORD receiveMs) {
    connectTimeoutMs_ = connectMs;
    receiveTimeoutMs_ = receiveMs;
}

void CInetFile::Raise(int cause) {
    lastErrorText_ = InetFailureText(cause);
    throw CInetFileException(cause);
}

void CInetFile::Run() {
    completed_ = false;
    requests_.clear();
    try {
        Transfer();
    } catch (const InternetFailure& failure) {
        // The platform's reason is not shown anywhere; the file on disk tells.
        char reason[8192] = {};
        FormatMessageA(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS, GetModuleHandleA("wininet.dll"),
                       failure.error, 0, reason, sizeof reason, nullptr);
    } catch (const CInetFileException&) {
        // Its message is already in lastErrorText_.
    } catch (const std::exception&) {
        // Out of memory or the like: the transfer simply did not complete.
    }
    if (!requests_.empty()) {
        requests_.back().bytes = std::max(requests_.back().bytes, bytesReceived_.load());
        requests_.back().milliseconds = GetTickCount64() - requestStart_;
    }
}

// The platform would follow a redirect to any scheme it knows (ftp:, file:
// and the like); the transfer follows them itself and only to http and https.
// An https address is fetched over TLS on the port it names (443 when it
// names none), with the platform's full certificate checks. Returns the
// status of the answer that is no redirect.
DWORD CInetFile::SendFollowingRedirects(HttpGet& http, const std::string& headers) {
    ParsedUrl url;
    if (!ParseUrl(url_, &url) || (!url.isHttp && !url.isHttps)) Raise(kBadUrl);
    std::string address = url_;
    std::string objectPath = EscapeRequestPath(url.objectPath);
    const uint64_t now = GetTickCount64();
    if (!requests_.empty()) requests_.back().milliseconds = now - requestStart_;
    requestStart_ = now;
    RequestFacts facts;
    facts.url = url_;
    const std::string rangeKey = "Range: ";
    const size_t rangeAt = headers.find("\n" + rangeKey);
    if (rangeAt != std::string::npos) {
        const size_t from = rangeAt + 1 + rangeKey.size();
        facts.rangeAsked = headers.substr(from, headers.find('\r', from) - from);
    }
    requests_.push_back(facts);
    for (int redirects = 0;; ++redirects) {
        http.Connect(url.host, url.port);
        DWORD status = http.Send(objectPath, headers.c_str(), url.isHttps);
        requests_.back().status = status;
        if (!IsRedirect(status)) {
            http.ResponseHeader(HTTP_QUERY_CONTENT_RANGE, &requests_.back().rangeGranted);
            return status;
        }
        if (redirects == kMaxRedirects) Raise(kRedirectFailed);
        std::string location, next;
        if (!http.Location(&location) || !ResolveUrl(address, location, &next) || !ParseUrl(next, &url)) {
            Raise(kBadRedirectUrl);
        }
        if (!url.isHttp && !url.isHttps) Raise(kRedirectFailed);
        address = next;
        // The server's own address, already in the form it wants.
        objectPath = url.objectPath;
        // Every request of a redirect chain has its own facts, so that a
        // loop shows each of its requests.
        const uint64_t sent = GetTickCount64();
        requests_.back().milliseconds = sent - requestStart_;
        requestStart_ = sent;
        RequestFacts hop;
        hop.url = next;
        hop.rangeAsked = facts.rangeAsked;
        requests_.push_back(hop);
    }
}

namespace {

// The answer to a range that starts at or past the end of the file.
const DWORD kRangeNotSatisfiable = 416;

// The answer's validator: its ETag, else its Last-Modified; empty if none.
std::string ValidatorOf(HttpGet& http) {
    std::string value;
    if (http.ResponseHeader(HTTP_QUERY_ETAG, &value)) return value;
    if (http.ResponseHeader(HTTP_QUERY_LAST_MODIFIED, &value)) return value;
    return std::string();
}

}  // namespace

void CInetFile::CompletePartial(uint64_t size) {
    PartialFile file(TemporaryPath(), true);
    if (!file.IsOpen() || file.InitialSize() != size || !file.MoveTo(localPath_)) Raise(kLocalFileFailed);
    resumedFrom_ = size;
    bytesReceived_ = 0;
    MarkStep("download.moved");
    completed_ = true;
}

void CInetFile::Transfer() {
    HttpGet http(kAgent, connectTimeoutMs_, receiveTimeoutMs_);
    resumedFrom_ = 0;
    std::string validator;
    uint64_t offset = 0;
    bool resuming = resumeExisting_ && FindResumablePartial(TemporaryPath(), &validator, &offset);
    if (!resumeExisting_) RemovePartial(TemporaryPath());
    // A partial file that already holds as many bytes as the file has (a
    // run ended after the body was whole and before it was moved into
    // place) is complete: nothing is asked, and the digest check that
    // follows every download decides about it.
    if (resuming && expectedSize_ > 0 && offset == static_cast<uint64_t>(expectedSize_)) {
        CompletePartial(offset);
        return;
    }

    DWORD status = 0;
    ContentRange range;
    uint64_t announced = 0;
    bool hasLength = false;
    if (resuming) {
        const std::string headers = std::string(kHeaders) + ResumeRequestHeaders(offset, validator);
        status = SendFollowingRedirects(http, headers);
        hasLength = http.ContentLength(&announced);
        std::string rangeText;
        bool continues = status == HTTP_STATUS_PARTIAL_CONTENT &&
                         http.ResponseHeader(HTTP_QUERY_CONTENT_RANGE, &rangeText) &&
                         ParseContentRange(rangeText, &range) && RangeContinues(range, offset, hasLength, announced) &&
                         ValidatorOf(http) == validator;
        // No byte is left to send: the partial file is the whole file.
        uint64_t total = 0;
        if (!continues && status == kRangeNotSatisfiable &&
            http.ResponseHeader(HTTP_QUERY_CONTENT_RANGE, &rangeText) && ParseUnsatisfiedRange(rangeText, &total) &&
            total == offset) {
            CompletePartial(offset);
            return;
        }
        if (!continues) resuming = false;
        // Anything but a continuation or the whole file: the partial file is
        // of no use, and the whole file is asked for anew.
        if (!continues && status != HTTP_STATUS_OK) {
            RemovePartial(TemporaryPath());
            status = SendFollowingRedirects(http, kHeaders);
            hasLength = http.ContentLength(&announced);
        }
    } else {
        status = SendFollowingRedirects(http, kHeaders);
        hasLength = http.ContentLength(&announced);
    }
    if (status != HTTP_STATUS_OK && !resuming) Raise(kServerFileFailed);
    if (!resuming) offset = 0;
    // For a continuation the rest of the file is the most it may carry.
    uint64_t ceiling = resuming ? range.total - offset : BodyCeiling(hasLength, announced, expectedSize_);

    PartialFile file(TemporaryPath(), resuming);
    if (!file.IsOpen()) Raise(kLocalFileFailed);
    if (resuming && file.InitialSize() != offset) {
        // Changed since it was measured: start again from zero next time.
        file.Abandon();
        Raise(kLocalFileFailed);
    }
    resumedFrom_ = offset;
    if (keepPartial_) file.KeepForResume(ValidatorOf(http));
    bytesReceived_ = 0;
    LowSpeedWatch rate(lowSpeedLimit_, GetTickCount64());
    char chunk[kChunkSize];
    for (bool ended = false; !ended;) {
        // One chunk, filled piece by piece as the bytes arrive, so that a
        // server too slow to fill it is noticed while it tries.
        DWORD got = 0;
        while (got < kChunkSize) {
            DWORD piece = http.ReadArrived(chunk + got, kChunkSize - got);
            if (piece == 0) {
                ended = true;
                break;
            }
            got += piece;
            if (!rate.Arrived(piece, GetTickCount64())) return;  // the partial file goes with `file`, or stays
        }
        if (got == 0) break;
        // More than announced is no download.
        if (got > ceiling - bytesReceived_) {
            // What arrived is told as it was, the excess included.
            requests_.back().bytes = bytesReceived_ + got;
            file.Abandon();
            return;
        }
        if (!file.Write(chunk, got)) {
            file.Abandon();
            Raise(kLocalFileFailed);
        }
        bytesReceived_ += got;
        MarkStep("download.chunk-written");
        if (cancelRequested_) {
            file.Abandon();
            return;
        }
        std::fputs(".", stdout);
        if (progressReport_) progressReport_(ProgressPercent(offset + bytesReceived_, expectedSize_));
    }
    // A body cut short by the server is no download.
    if (resuming ? offset + bytesReceived_ != range.total : !BodyIsComplete(hasLength, announced, bytesReceived_)) {
        return;
    }
    if (!file.MoveTo(localPath_)) Raise(kLocalFileFailed);
    MarkStep("download.moved");
    completed_ = true;
}
