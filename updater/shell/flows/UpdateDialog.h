// The updater's window: a banner and one of eight wizard pages. It starts
// the engine runs and the installation on worker threads, turns the engine's
// reports into page changes and progress, and lives on in the notification
// area while it is hidden.
#pragma once

#include <atomic>
#include <map>
#include <memory>

#include "flows/DialogRequests.h"
#include "install/InstallList.h"
#include "install/Installer.h"
#include "run/UpdateEngine.h"
#include "tray/CTrayIcon.h"
#include "window/DialogWindow.h"
#include "window/WizardPage.h"
#include "window/WizardPages.h"

// Threads: the window and its pages are touched only by the dialog's own
// thread. The workers ask for page changes, the window's visibility, the
// notes and the installation's progress by DialogRequests; the counts and
// flags they read are atomic and the install list has a lock of its own.
class UpdateDialog : public DialogWindow,
                     public std::enable_shared_from_this<UpdateDialog>,
                     private InstallProgressView {
public:
    UpdateDialog();
    ~UpdateDialog() override;

    // What the workers ask for by DialogRequests, on the dialog's thread.
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
    LRESULT onFlowRequest(WPARAM request, LPARAM value);
    void onCommand(int id);
    void onClose();

    // Worker bodies; `dialog` carries what they ask of the window.
    using WorkerBody = void (UpdateDialog::*)(DialogRequests& dialog);
    void checkForUpdates(DialogRequests& dialog);
    void downloadUpdates(DialogRequests& dialog);
    void downloadThenDecide(DialogRequests& dialog);
    void downloadThenInstall(DialogRequests& dialog);
    void decideAfterDownload(DialogRequests& dialog);
    void runInstallation(DialogRequests& dialog);
    bool readInstallList();
    void startWorker(WorkerBody body);
    // Takes the one press that a shown page's button gets; false when the
    // page is not the one shown or its button was pressed already.
    bool claimPress(int page);
    // One engine run for this window, reports of earlier runs going stale.
    void runEngine(const DialogRequests& dialog, const EngineSteps& steps);
    bool isStaleOnInstallPage() const;

    HWND pageItem(int page, int id) const;

    // InstallProgressView: the install page.
    void SetRange(int count) override;
    void SetPosition(int position) override;
    void EnableFinish(bool enabled) override;
    void SetDoneCaption() override;

    // The dialog's thread alone uses these.
    std::map<int, std::unique_ptr<WizardPage>> m_pages;
    int m_currentPage = PAGE_CHECKING;
    // The page whose gated button ("立即更新", "立即安装") may still be
    // pressed: set when the page is shown, taken by the first press.
    int m_pressablePage = -1;
    CTrayIcon m_trayIcon;
    HICON m_hIcon = nullptr;

    // Shared with the workers. The counts come with the engine's reports
    // (sent, so they are stored when the run returns); a download resets
    // the first before its run.
    std::atomic<int> m_filesToUpdate{0};
    std::atomic<int> m_filesDownloaded{0};
    // Set by NOTIFY_FINISHED, cleared when the next engine run starts.
    std::atomic<bool> m_engineRunFinished{false};
    InstallList m_fileList;
};
