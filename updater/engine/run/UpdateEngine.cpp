#include "run/UpdateEngine.h"

#include "manifest/ManifestReader.h"
#include "plan/LocalFileInfo.h"
#include "plan/PlanDecision.h"
#include "run/Clock.h"
#include "run/LocalTime.h"
#include "run/UpdateEngineImpl.h"
#include "trust/AcceptedManifest.h"
#include "FileExists.h"
#include "FolderCreation.h"
#include "ProgramFolder.h"
#include "WholeFile.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <optional>
#include <memory>

namespace {

// Used when the settings file names no update server.
const char kDefaultServerHost[] = "update.quorvane.com";

std::string Bounded(const char* text) {
    char buffer[MAX_PATH] = {};
    if (text != nullptr) lstrcpynA(buffer, text, MAX_PATH);
    return buffer;
}

// The line a trace text makes in the log: without its surrounding spaces and
// line breaks; empty when nothing else is left.
std::string LogLineOf(const std::string& text) {
    const size_t first = text.find_first_not_of(" \r\n");
    if (first == std::string::npos) return std::string();
    const size_t last = text.find_last_not_of(" \r\n");
    std::string line = text.substr(first, last - first + 1);
    for (char& c : line) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    return line;
}

}  // namespace

UpdateEngineImpl::UpdateEngineImpl() {
    if (const std::optional<std::string> folder = ProgramFolder()) items.Folders().program = *folder;
    char windows[MAX_PATH] = {};
    if (GetWindowsDirectoryA(windows, MAX_PATH) < MAX_PATH) items.Folders().windows = windows;
    char system[MAX_PATH] = {};
    if (GetSystemDirectoryA(system, MAX_PATH) < MAX_PATH) items.Folders().system = system;
    UseServer(kDefaultServerHost);
}

void UpdateEngineImpl::UseServer(const char* host) {
    char url[MAX_PATH] = {};
    snprintf(url, sizeof url, "http://%s/WhatNews.txt", host);
    newsUrl = url;
    snprintf(url, sizeof url, "http://%s/Update.xml", host);
    manifestUrl = url;
    serverHost = Bounded(host);
}

void UpdateEngineImpl::Run() {
    CreateFolders(updateFolder);
    log.Open(updateFolder + "Koravel.log");
    log.SetLimit(logLimit);
    if (fetchNews) WithRetries("WhatNews.txt", [this] { return FetchNews(); });
    CheckNews();
    if (fetchManifest) WithRetries("Update.xml", [this] { return FetchManifest(); });
    if (plan) PlanUpdate();
    if (download) {
        successCount = 0;
        WithRetries("the downloads", [this] { return DownloadAll(); });
    }
    notify.Send(NOTIFY_FINISHED, successCount);
    std::fflush(stdout);
}

void UpdateEngineImpl::Configure(CInetFile* file) const {
    file->SetTimeouts(connectTimeoutMs, receiveTimeoutMs);
    file->SetLowSpeedLimit(lowSpeed);
    file->SetProgressReport([this](int percent) { notify.Post(NOTIFY_PROGRESS, percent); });
}

void UpdateEngineImpl::Trace(const char* format, ...) {
    char text[4096];
    va_list arguments;
    va_start(arguments, format);
    vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    std::fputs(text, stdout);
    const std::string line = LogLineOf(text);
    if (!line.empty()) log.Append(line);
}

void UpdateEngineImpl::LogTransfer(const CInetFile& file) {
    for (const CInetFile::RequestFacts& request : file.Requests()) {
        char line[4096];
        snprintf(line, sizeof line, "request %s status %lu bytes %llu range asked %s granted %s time %llu ms",
                 request.url.c_str(), static_cast<unsigned long>(request.status),
                 static_cast<unsigned long long>(request.bytes),
                 request.rangeAsked.empty() ? "none" : request.rangeAsked.c_str(),
                 request.rangeGranted.empty() ? "none" : request.rangeGranted.c_str(),
                 static_cast<unsigned long long>(request.milliseconds));
        log.Append(line);
    }
    if (file.ResumedFrom() == 0) return;
    if (file.Requests().empty() || file.BytesReceived() == 0) {
        // The partial file was whole already: moved into place as it was.
        log.Append("complete " + file.Url() + " from its partial file of " + std::to_string(file.ResumedFrom()) +
                   " bytes");
    } else {
        log.Append("resume " + file.Requests().back().url + " from byte " + std::to_string(file.ResumedFrom()));
    }
}

bool UpdateEngineImpl::RunTransfer(CInetFile* file) {
    if (!file->Start()) return false;
    file->Wait();
    return file->Completed();
}

template <typename Step>
bool UpdateEngineImpl::WithRetries(const char* what, Step step) {
    for (int attempt = 0; attempt <= kRetries; ++attempt) {
        if (attempt > 0) log.Append(std::string("retry ") + what + " (attempt " + std::to_string(attempt + 1) + ")");
        if (step()) return true;
    }
    return false;
}

// A fetch succeeds only when its own transfer completed: an older copy of the
// file does not stand in for it.
bool UpdateEngineImpl::Fetch(int kind, const std::string& url, const std::string& localPath) {
    Trace("\n%d Processing %s", Now(), url.c_str());
    CInetFile file;
    Configure(&file);
    file.SetKind(kind);
    file.SetUrl(url);
    file.SetLocalPath(localPath);
    file.SetExpectedSize(0);
    const bool completed = RunTransfer(&file);
    LogTransfer(file);
    return completed && FileExists(localPath.c_str());
}

bool UpdateEngineImpl::FetchNews() {
    notify.SendText(NOTIFY_SERVER, serverHost);
    if (!Fetch(CInetFile::kNews, newsUrl, updateFolder + "WhatNews.txt")) return false;
    notify.Post(NOTIFY_NEWS_READY, 0);
    return true;
}

bool UpdateEngineImpl::CheckNews() {
    notify.SendText(NOTIFY_SERVER, serverHost);
    if (!FileExists((updateFolder + "WhatNews.txt").c_str())) return false;
    notify.Post(NOTIFY_NEWS_READY, 0);
    return true;
}

bool UpdateEngineImpl::FetchManifest() {
    Stopwatch watch("Update.xml");
    return Fetch(CInetFile::kManifest, manifestUrl, updateFolder + "Update.xml");
}

// Under a key: the manifest must carry a valid, current signature by it and
// be no older than the last one accepted; the time of an accepted one is kept.
// A refused manifest is treated as one that cannot be read.
bool UpdateEngineImpl::ManifestIsAuthentic(const std::string& path) {
    if (!manifestKey) {
        Trace("\nmanifest signature: refused, the updater's key cannot be read\n");
        log.Append("refusal: manifest signature refused, the updater's key cannot be read");
        return false;
    }
    // A manifest is small; a file beyond this bound is refused unread.
    constexpr size_t kLargestManifest = 16 * 1024 * 1024;
    std::string bytes;
    if (!ReadWholeFile(path, &bytes, kLargestManifest)) {
        Trace("\nmanifest signature: refused, the manifest cannot be read\n");
        log.Append("refusal: manifest signature refused, the manifest cannot be read");
        return false;
    }
    const std::string record = updateFolder + kAcceptedManifestFileName;
    const ManifestJudgement judgement =
        JudgeManifest(bytes, *manifestKey, static_cast<int64_t>(std::time(nullptr)), ReadAcceptedSigningTime(record));
    std::string verdict = ManifestVerdictText(judgement.verdict);
    if (judgement.verdict != ManifestVerdict::kNoSignature) {
        verdict += " (signed " + FormatUtcTime(judgement.signedAt) + ", expires " +
                   FormatUtcTime(judgement.expiresAt) + ")";
    }
    Trace("\nmanifest signature: %s\n", verdict.c_str());
    if (judgement.verdict != ManifestVerdict::kAccepted) {
        log.Append(std::string("refusal: manifest signature ") + ManifestVerdictText(judgement.verdict));
        return false;
    }
    if (!WriteAcceptedSigningTime(record, judgement.signedAt)) {
        Trace("manifest signature: the signing time could not be kept in %s\n", record.c_str());
    }
    return true;
}

void UpdateEngineImpl::PlanUpdate() {
    items.Clear();
    plannedDownloads_.clear();
    const std::string manifestPath = updateFolder + "Update.xml";
    if (keyGiven && !ManifestIsAuthentic(manifestPath)) return;
    if (!ReadManifest(&items, manifestPath.c_str())) return;
    plannedCount = items.KeepNeeded([this](UpdateItem& item) { return NeedsUpdate(item); });
    plannedSize = items.NeededSize();
    if (plannedCount > 0) {
        notify.Send(NOTIFY_ITEM_COUNT, plannedCount);
    } else {
        notify.Send(NOTIFY_NOTHING_TO_DO, 0);
    }
}

bool UpdateEngineImpl::NeedsUpdate(UpdateItem& item) {
    if (keyGiven && !HasRequiredDigests(item)) return false;
    InstalledFile installed = InspectInstalledFile(item);
    bool needed = DecideNeedsUpdate(item, installed);
    if (needed) plannedDownloads_.insert(item.downloadPath);
    if (needed && !installed.exists && !item.localPath.empty() && !item.subPath.empty()) {
        CreateFolders(item.subPath);
    }
    return needed;
}

UpdateEngine::UpdateEngine() : impl_(std::make_unique<UpdateEngineImpl>()) {}

UpdateEngine::~UpdateEngine() = default;

void UpdateEngine::SetServer(const char* settingsPath) {
    char host[MAX_PATH] = {};
    GetPrivateProfileStringA("System", "WebAddress", kDefaultServerHost, host, MAX_PATH, settingsPath);
    impl_->UseServer(host);
}

void UpdateEngine::SetUpdateFolder(const char* folder) {
    impl_->updateFolder = Bounded(folder);
    impl_->items.Folders().update = impl_->updateFolder;
}

void UpdateEngine::SetNotifyWindow(HWND window) { impl_->notify.SetWindow(window); }

void UpdateEngine::SetManifestKey(const std::string& pem) {
    impl_->keyGiven = !pem.empty();
    impl_->manifestKey = impl_->keyGiven ? CryptoApiSignatureKey::FromPem(pem) : nullptr;
}

void UpdateEngine::SetProgramFolder(const char* folder) { impl_->items.Folders().program = Bounded(folder); }

void UpdateEngine::SetLogLimit(uint64_t bytes) { impl_->logLimit = bytes; }

void UpdateEngine::SetTransferTimeouts(DWORD connectMs, DWORD receiveMs) {
    impl_->connectTimeoutMs = connectMs;
    impl_->receiveTimeoutMs = receiveMs;
}

void UpdateEngine::SetLowSpeedLimit(uint64_t minimumBytes, uint32_t periodMs) {
    impl_->lowSpeed = LowSpeedLimit{minimumBytes, periodMs};
}

bool UpdateEngine::Start(int fetchNews, int fetchManifest, int plan, int download) {
    impl_->fetchNews = fetchNews != 0;
    impl_->fetchManifest = fetchManifest != 0;
    impl_->plan = plan != 0;
    impl_->download = download != 0;
    return impl_->Start();
}

void UpdateEngine::Wait() { impl_->Wait(); }

int UpdateEngine::PlannedCount() const { return impl_->plannedCount; }

int UpdateEngine::PlannedSize() const { return impl_->plannedSize; }

int UpdateEngine::SuccessCount() const { return impl_->successCount; }
