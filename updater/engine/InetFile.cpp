#include "InetFile.h"

#include "EngineTexts.h"
#include "InternetConnection.h"
#include "Notify.h"
#include "PartialFile.h"
#include "RequestPath.h"
#include "TransferLimits.h"

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
}

// The platform would follow a redirect to any scheme it knows (ftp:, file:
// and the like); the transfer follows them itself and only to http and https.
// An https address is fetched over TLS on the port it names (443 when it
// names none), with the platform's full certificate checks.
void CInetFile::SendFollowingRedirects(HttpGet& http) {
    ParsedUrl url;
    if (!ParseUrl(url_, &url) || (!url.isHttp && !url.isHttps)) Raise(kBadUrl);
    std::string address = url_;
    std::string objectPath = EscapeRequestPath(url.objectPath);
    for (int redirects = 0;; ++redirects) {
        http.Connect(url.host, url.port);
        DWORD status = http.Send(objectPath, kHeaders, url.isHttps);
        if (status == HTTP_STATUS_OK) return;
        if (!IsRedirect(status)) Raise(kServerFileFailed);
        if (redirects == kMaxRedirects) Raise(kRedirectFailed);
        std::string location, next;
        if (!http.Location(&location) || !ResolveUrl(address, location, &next) || !ParseUrl(next, &url)) {
            Raise(kBadRedirectUrl);
        }
        if (!url.isHttp && !url.isHttps) Raise(kRedirectFailed);
        address = next;
        // The server's own address, already in the form it wants.
        objectPath = url.objectPath;
    }
}

void CInetFile::Transfer() {
    HttpGet http(kAgent, connectTimeoutMs_, receiveTimeoutMs_);
    SendFollowingRedirects(http);
    uint64_t announced = 0;
    bool hasLength = http.ContentLength(&announced);
    uint64_t ceiling = BodyCeiling(hasLength, announced, expectedSize_);

    PartialFile file(TemporaryPath());
    if (!file.IsOpen()) Raise(kLocalFileFailed);
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
            if (!rate.Arrived(piece, GetTickCount64())) return;  // the partial file goes with `file`
        }
        if (got == 0) break;
        // More than announced is no download.
        if (got > ceiling - bytesReceived_) return;
        if (!file.Write(chunk, got)) Raise(kLocalFileFailed);
        bytesReceived_ += got;
        if (cancelRequested_) return;
        std::fputs(".", stdout);
        if (notifyWindow_ != nullptr) {
            PostMessageA(notifyWindow_, WM_UPDATE_NOTIFY, NOTIFY_PROGRESS,
                         ProgressPercent(bytesReceived_, expectedSize_));
        }
    }
    // A body cut short by the server is no download.
    if (!BodyIsComplete(hasLength, announced, bytesReceived_)) return;
    if (!file.MoveTo(localPath_)) Raise(kLocalFileFailed);
    completed_ = true;
}
