// The update engine the shell drives: plans which manifest items are out of
// date and downloads them on a worker thread of its own, reporting by
// WM_UPDATE_NOTIFY to the notify window (none in the silent mode).
//
// A run: create the update folder; fetch the news and the manifest when asked;
// plan (which items are out of date, NOTIFY_ITEM_COUNT or
// NOTIFY_NOTHING_TO_DO); download them with retries and record each in
// QMUpdateFileList.txt; send NOTIFY_FINISHED with the success count.
//
// Use: construct; SetServer(path of Stock.ini); SetUpdateFolder(folder ending
// with '\\'); SetNotifyWindow(hwnd or nullptr); Start(fetchNews,
// fetchManifest, plan, download), or Start with one of the named step sets
// below; Wait(); destroy.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

class UpdateEngineImpl;

// The four step switches of Start, by name; non-zero means on.
struct EngineSteps {
    int fetchNews;
    int fetchManifest;
    int plan;
    int download;
};

// The runs the shell asks for: a check plans only, a download plans and
// downloads; the news and the manifest already lie in the update folder.
constexpr EngineSteps kCheckSteps{0, 0, 1, 0};
constexpr EngineSteps kDownloadSteps{0, 0, 1, 1};

class UpdateEngine {
public:
    UpdateEngine();
    virtual ~UpdateEngine();
    UpdateEngine(const UpdateEngine&) = delete;
    UpdateEngine& operator=(const UpdateEngine&) = delete;

    void SetServer(const char* settingsPath);
    void SetUpdateFolder(const char* folder);
    void SetNotifyWindow(HWND window);
    bool Start(int fetchNews, int fetchManifest, int plan, int download);
    bool Start(const EngineSteps& steps) {
        return Start(steps.fetchNews, steps.fetchManifest, steps.plan, steps.download);
    }
    void Wait();

    // The folder items install below when InstallDir names neither the Windows
    // nor the system folder; by default the running program's folder.
    void SetProgramFolder(const char* folder);
    // The publisher's public key (PEM) from the updater's resources; empty:
    // none. With a key only a manifest signed by it, current and no older
    // than the last one accepted, is planned, each item must carry digests,
    // and a SHA256 given must match as well (docs/manifest-signature.md).
    void SetManifestKey(const std::string& pem);
    // Connect and receive time-outs of every transfer (by default 30 s and 60 s).
    void SetTransferTimeouts(DWORD connectMs, DWORD receiveMs);
    // A transfer that gets fewer than `minimumBytes` in `periodMs` is cut as
    // too slow (by default fewer than 1024 bytes in 60 s; 0 bytes: never).
    void SetLowSpeedLimit(uint64_t minimumBytes, uint32_t periodMs);
    // The size Update\Koravel.log stays below (by default 1 MiB) before it
    // is moved to Koravel.log.1 and a new one started.
    void SetLogLimit(uint64_t bytes);

    int PlannedCount() const;
    int PlannedSize() const;
    int SuccessCount() const;

private:
    std::unique_ptr<UpdateEngineImpl> impl_;
};
