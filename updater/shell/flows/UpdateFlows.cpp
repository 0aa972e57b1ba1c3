// The flows of the update dialog that run on worker threads: the check, the
// download with the decision that follows it, and the installation. They
// change the window only through DialogRequests.
#include "install/ClientFiles.h"
#include "install/ClientWindows.h"
#include "flows/EngineRun.h"
#include "flows/UpdateDialog.h"
#include "app/UpdaterApp.h"
#include "flows/Worker.h"
#include "run/StepMarks.h"

void UpdateDialog::startWorker(WorkerBody body) {
    // The worker keeps the dialog object alive; the window may be gone.
    std::shared_ptr<UpdateDialog> self = shared_from_this();
    DialogRequests requests(hwnd());
    StartWorker([self, body, requests]() mutable { (self.get()->*body)(requests); });
}

void UpdateDialog::startUpdate() {
    // One press per showing of the page; a second press while the download
    // runs is ignored.
    if (!claimPress(PAGE_UPDATE_FOUND) && !claimPress(PAGE_MANDATORY_UPDATE)) return;
    if (UpdaterApp::Instance().runMode() == RUN_MODE_FORCE_DOWNLOAD_AND_UPDATE) {
        startWorker(&UpdateDialog::downloadThenInstall);
    } else {
        startWorker(&UpdateDialog::downloadThenDecide);
    }
}

void UpdateDialog::downloadThenDecide(DialogRequests& dialog) {
    downloadUpdates(dialog);
    decideAfterDownload(dialog);
}

void UpdateDialog::downloadThenInstall(DialogRequests& dialog) {
    downloadUpdates(dialog);
    dialog.InstallNow();
}

void UpdateDialog::installNow() {
    showWindow();
    if (m_filesDownloaded == m_filesToUpdate) {
        startWorker(&UpdateDialog::runInstallation);
    } else {
        showPage(PAGE_FAILED);
        UpdaterApp::Instance().allowExit();
    }
}

void UpdateDialog::runEngine(const DialogRequests& dialog, const EngineSteps& steps) {
    m_engineRunFinished = false;
    RunUpdateEngine(dialog.NotifyWindow(), steps);
}

void UpdateDialog::checkForUpdates(DialogRequests& dialog) {
    runEngine(dialog, kCheckSteps);
    if (m_filesToUpdate != 0) {
        bool mandatory = UpdaterApp::Instance().runMode() == RUN_MODE_FORCE_DOWNLOAD_AND_UPDATE;
        // The page last: once it is shown its button may start the next
        // worker at once, which must not find this one still at work.
        dialog.ShowWindow();
        dialog.ShowPage(mandatory ? PAGE_MANDATORY_UPDATE : PAGE_UPDATE_FOUND);
    } else {
        dialog.ShowPage(PAGE_NO_UPDATE);
        UpdaterApp::Instance().allowExit();
    }
}

void UpdateDialog::downloadUpdates(DialogRequests& dialog) {
    UpdaterApp& app = UpdaterApp::Instance();
    dialog.ShowPage(PAGE_DOWNLOAD);
    if (app.runMode() != RUN_MODE_FORCE_DOWNLOAD_AND_UPDATE) dialog.HideWindow();
    m_filesToUpdate = 0;
    runEngine(dialog, kDownloadSteps);

    if (readInstallList() && !m_fileList.IsEmpty()) {
        WritePendingUpdateFlag(app.programFolder(), true);
    } else if (m_filesDownloaded != m_filesToUpdate) {
        dialog.ShowPage(PAGE_FAILED);
        app.allowExit();
    }
}

void UpdateDialog::decideAfterDownload(DialogRequests& dialog) {
    UpdaterApp& app = UpdaterApp::Instance();
    if (m_filesToUpdate != m_filesDownloaded) {
        app.allowExit();
        dialog.ShowPage(PAGE_FAILED);
        dialog.ShowWindow();
    } else if (readInstallList()) {
        dialog.ShowWindow();
        dialog.ShowPage(PAGE_READY_TO_INSTALL);
    } else {
        dialog.ShowPage(PAGE_FAILED);
        app.allowExit();
    }
}

void UpdateDialog::runInstallation(DialogRequests& dialog) {
    UpdaterApp& app = UpdaterApp::Instance();
    dialog.ShowPage(PAGE_INSTALL);
    CloseClientWindows();
    dialog.LoadReleaseNotes();
    readInstallList();
    std::vector<FileListEntry> entries = m_fileList.Take();
    InstallUpdates(entries, dialog, app.programFolder(), app.updateFolder());
    app.allowExit();
    MarkStep("install.finished");
}

bool UpdateDialog::readInstallList() {
    return m_fileList.Refill(StateFilePath(UpdaterApp::Instance().updateFolder()));
}
