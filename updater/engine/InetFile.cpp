#include "InetFile.h"

#include "EngineTexts.h"
#include "InternetConnection.h"
#include "Notify.h"
#include "RequestPath.h"

#include <cstdio>

namespace {

const char kAgent[] = "Koravel - MFC App";
const char kHeaders[] = "Accept: */*\r\nUser-Agent: QMWL Koravel\r\n";
const DWORD kChunkSize = 8192;

// The local file being written; removed again unless Keep() was called.
class PartialFile {
public:
    explicit PartialFile(const std::string& path)
        : path_(path),
          handle_(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~PartialFile() {
        Close();
        if (!kept_) DeleteFileA(path_.c_str());
    }
    PartialFile(const PartialFile&) = delete;
    PartialFile& operator=(const PartialFile&) = delete;

    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    bool Write(const char* bytes, DWORD count) {
        DWORD written = 0;
        return WriteFile(handle_, bytes, count, &written, nullptr) && written == count;
    }
    // Closes the file and moves it over the target path.
    bool MoveTo(const std::string& target) {
        Close();
        kept_ = MoveFileExA(path_.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED) != 0;
        return kept_;
    }

private:
    void Close() {
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }

    std::string path_;
    HANDLE handle_;
    bool kept_ = false;
};

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

void CInetFile::Transfer() {
    HttpGet http(kAgent, connectTimeoutMs_, receiveTimeoutMs_);
    ParsedUrl url;
    if (!ParseUrl(url_, &url) || !url.isHttp) Raise(kBadUrl);
    http.Connect(url.host, url.port);
    if (http.Send(EscapeRequestPath(url.objectPath), kHeaders) != HTTP_STATUS_OK) Raise(kServerFileFailed);
    DWORD announced = 0;
    bool hasLength = http.ContentLength(&announced);

    PartialFile file(TemporaryPath());
    if (!file.IsOpen()) Raise(kLocalFileFailed);
    bytesReceived_ = 0;
    char chunk[kChunkSize];
    for (;;) {
        DWORD got = http.Read(chunk, kChunkSize);
        if (got == 0) break;
        if (!file.Write(chunk, got)) Raise(kLocalFileFailed);
        bytesReceived_ += got;
        if (cancelRequested_) return;  // the partial file goes with `file`
        std::fputs(".", stdout);
        if (notifyWindow_ != nullptr) {
            PostMessageA(notifyWindow_, WM_UPDATE_NOTIFY, NOTIFY_PROGRESS,
                         ProgressPercent(bytesReceived_, expectedSize_));
        }
    }
    // A body cut short by the server is no download.
    if (hasLength && announced != bytesReceived_) return;
    if (!file.MoveTo(localPath_)) Raise(kLocalFileFailed);
    completed_ = true;
}
