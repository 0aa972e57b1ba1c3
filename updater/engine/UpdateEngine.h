// The update engine the shell drives: plans which manifest items are out of
// date and downloads them on a worker thread of its own, reporting by
// WM_UPDATE_NOTIFY to the notify window (none in the silent mode).
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

    int PlannedCount() const;
    int PlannedSize() const;
    int SuccessCount() const;

private:
    UpdateEngineImpl* impl_;
};
