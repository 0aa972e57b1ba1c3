// The updater's window: a banner and one of eight wizard pages. It starts
// the engine runs and the installation on worker threads, turns the engine's
// reports into page changes and progress, and lives on in the notification
// area while it is hidden.
#pragma once

#include <atomic>
#include <map>
#include <memory>
#include <vector>

#include "tray/CTrayIcon.h"
#include "window/DialogWindow.h"
#include "install/Installer.h"
#include "statefile/StateFile.h"
#include "window/WizardPage.h"
#include "window/WizardPages.h"

class UpdateDialog : public DialogWindow,
                     public std::enable_shared_from_this<UpdateDialog>,
                     private InstallProgressView {
public:
    UpdateDialog();
    ~UpdateDialog() override;

    // Operations the workers use.
    void showPage(int page);
    int loadReleaseNotes();
    void setProgressRange(int count);
    void setProgressPosition(int position);
    void showWindow();
    void hideWindow();

    // Actions of the page buttons.
    void startUpdate();
    void installNow();
    void finishAndRestartClient();

protected:
    void OnInitDialog() override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    void createPages();
    void startFlowOfRunMode();
    void onUpdateNotify(WPARAM code, LPARAM value);
    void onCommand(int id);
    void onClose();

    // Worker bodies.
    void checkForUpdates();
    void downloadUpdates();
    void downloadThenDecide();
    void downloadThenInstall();
    void decideAfterDownload();
    void runInstallation();
    bool readInstallList();
    void startWorker(void (UpdateDialog::*body)());
    // Takes the one press that a shown page's button gets; false when the
    // page is not the one shown or its button was pressed already.
    bool claimPress(int page);
    // One engine run for this window, reports of earlier runs going stale.
    void runEngine(bool download);
    bool isStaleOnInstallPage() const;

    HWND pageItem(int page, int id) const;

    // InstallProgressView: the install page.
    void SetRange(int count) override;
    void SetPosition(int position) override;
    void EnableFinish(bool enabled) override;
    void SetDoneCaption() override;

    std::map<int, std::unique_ptr<WizardPage>> m_pages;
    std::atomic<int> m_currentPage{PAGE_CHECKING};
    std::atomic<int> m_filesToUpdate{0};
    std::atomic<int> m_filesDownloaded{0};
    std::vector<FileListEntry> m_fileList;
    CTrayIcon m_trayIcon;
    HICON m_hIcon = nullptr;
    // Set by NOTIFY_FINISHED, cleared when the next engine run starts.
    std::atomic<bool> m_engineRunFinished{false};
    // The page whose gated button ("立即更新", "立即安装") may still be
    // pressed: set when the page is shown, taken by the first press.
    std::atomic<int> m_pressablePage{-1};
};
