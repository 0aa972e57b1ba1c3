// The engine's run on its worker thread: news, manifest, plan, downloads.
// UpdateEngine.cpp holds the run up to the plan and the public interface,
// ItemDownload.cpp the downloads.
#pragma once

#include "delta/FormChoice.h"
#include "manifest/UpdateItemList.h"
#include "run/NotifyChannel.h"
#include "run/UpdateLog.h"
#include "run/WorkerThread.h"
#include "transfer/InetFile.h"
#include "trust/CryptoApi.h"
#include "CaseFolding.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>

class UpdateEngineImpl : public WorkerThread {
public:
    UpdateEngineImpl();
    ~UpdateEngineImpl() override { Wait(); }

    // The news and manifest addresses and the server text, from the host name.
    void UseServer(const char* host);

    std::string newsUrl;
    std::string manifestUrl;
    std::string updateFolder;
    std::atomic<int> successCount{0};
    UpdateItemList items;
    std::atomic<int> plannedCount{0};
    std::atomic<int> plannedSize{0};
    NotifyChannel notify;
    std::string serverHost;
    bool fetchNews = true;
    bool fetchManifest = true;
    bool plan = true;
    bool download = true;
    // With a publisher's key (its PEM text given), only manifests signed by it
    // are planned; a key that cannot be read accepts nothing.
    bool keyGiven = false;
    std::unique_ptr<CryptoApiSignatureKey> manifestKey;
    DWORD connectTimeoutMs = CInetFile::kDefaultConnectTimeoutMs;
    DWORD receiveTimeoutMs = CInetFile::kDefaultReceiveTimeoutMs;
    LowSpeedLimit lowSpeed = kDefaultLowSpeedLimit;
    UpdateLog log;
    uint64_t logLimit = UpdateLog::kDefaultLimit;

protected:
    void Run() override;

private:
    bool FetchNews();
    bool CheckNews();
    bool FetchManifest();
    void PlanUpdate();
    bool ManifestIsAuthentic(const std::string& path);
    bool NeedsUpdate(UpdateItem& item);
    // Downloads (ItemDownload.cpp): every planned item in turn, one item
    // through its representations, each representation through a transfer.
    bool DownloadAll();
    bool DownloadItem(const UpdateItem& item, int index);
    bool ExistingDownloadIsCurrent(const UpdateItem& item);
    // A transfer of one of the item's representations: its address, where
    // it is written, its size.
    void ConfigureItemTransfer(CInetFile* file, const UpdateItem& item, const std::string& url,
                               const std::string& localPath, int64_t expectedSize) const;
    bool FetchWholeFile(const UpdateItem& item, bool triedBefore, bool offersForms);
    enum class FormOutcome { kDecoded, kCut, kFailed };
    FormOutcome FetchSmallerForm(const UpdateItem& item, const FormToFetch& form,
                                 const std::optional<std::string>& installedCopy, bool mayRetry);
    bool DownloadHasDigests(const UpdateItem& item, bool withSha256);
    FormOutcome FallBack(const FormToFetch& form, const char* reason);
    void RemoveFormFiles(const UpdateItem& item);
    bool Fetch(int kind, const std::string& url, const std::string& localPath);
    // Time-outs, speed limit, and the progress posted through the channel.
    void Configure(CInetFile* file) const;
    // printf to standard output, the same text also a line of the log.
    void Trace(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // The transfer's requests and its resume, one log line each.
    void LogTransfer(const CInetFile& file);
    template <typename Step>
    bool WithRetries(const char* what, Step step);
    // Runs the transfer on its thread and waits for it; true when it completed.
    static bool RunTransfer(CInetFile* file);

    // Repetitions of a failed step (so four attempts in all), and the retries
    // an item gets while no download has succeeded since the last item gave up.
    static constexpr int kRetries = 3;

    int consecutiveFailures_ = 0;
    // The download paths of the planned items, so that no form's file takes
    // the name of another item's download.
    std::set<std::string, LessIgnoringCase> plannedDownloads_;
};
