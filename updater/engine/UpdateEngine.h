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
// fetchManifest, plan, download); Wait(); destroy.
#pragma once

#include <windows.h>

class UpdateEngineImpl;

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
    void Wait();

    // The folder items install below when InstallDir names neither the Windows
    // nor the system folder; by default the running program's folder.
    void SetProgramFolder(const char* folder);
    // Connect and receive time-outs of every transfer (by default 30 s and 60 s).
    void SetTransferTimeouts(DWORD connectMs, DWORD receiveMs);

    int PlannedCount() const;
    int PlannedSize() const;
    int SuccessCount() const;

private:
    UpdateEngineImpl* impl_;
};
