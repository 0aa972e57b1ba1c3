// The flows of the update dialog that run on worker threads: the check, the
// download with the decision that follows it, and the installation.
#include "install/ClientFiles.h"
#include "install/ClientWindows.h"
#include "flows/EngineRun.h"
#include "flows/UpdateDialog.h"
#include "app/UpdaterApp.h"
#include "flows/Worker.h"

void UpdateDialog::startWorker(void (UpdateDialog::*body)()) {
    // The worker keeps the dialog object alive; the window may be gone.
    std::shared_ptr<UpdateDialog> self = shared_from_this();
    StartWorker([self, body] { (self.get()->*body)(); });
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

void UpdateDialog::downloadThenDecide() {
    downloadUpdates();
    decideAfterDownload();
}

void UpdateDialog::downloadThenInstall() {
    downloadUpdates();
    installNow();
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

void UpdateDialog::runEngine(bool download) {
    m_engineRunFinished = false;
    RunUpdateEngine(hwnd(), download);
}

void UpdateDialog::checkForUpdates() {
    runEngine(false);
    if (m_filesToUpdate != 0) {
        bool mandatory = UpdaterApp::Instance().runMode() == RUN_MODE_FORCE_DOWNLOAD_AND_UPDATE;
        // The page last: once it is shown its button may start the next
        // worker at once, which must not find this one still at work.
        showWindow();
        showPage(mandatory ? PAGE_MANDATORY_UPDATE : PAGE_UPDATE_FOUND);
    } else {
        showPage(PAGE_NO_UPDATE);
        UpdaterApp::Instance().allowExit();
    }
}

void UpdateDialog::downloadUpdates() {
    UpdaterApp& app = UpdaterApp::Instance();
    showPage(PAGE_DOWNLOAD);
    if (app.runMode() != RUN_MODE_FORCE_DOWNLOAD_AND_UPDATE) hideWindow();
    m_filesToUpdate = 0;
    runEngine(true);

    if (readInstallList() && !m_fileList.empty()) {
        WritePendingUpdateFlag(app.programFolder(), true);
    } else if (m_filesDownloaded != m_filesToUpdate) {
        showPage(PAGE_FAILED);
        app.allowExit();
    }
}

void UpdateDialog::decideAfterDownload() {
    UpdaterApp& app = UpdaterApp::Instance();
    if (m_filesToUpdate != m_filesDownloaded) {
        app.allowExit();
        showPage(PAGE_FAILED);
        showWindow();
    } else if (readInstallList()) {
        showWindow();
        showPage(PAGE_READY_TO_INSTALL);
    } else {
        showPage(PAGE_FAILED);
        app.allowExit();
    }
}

void UpdateDialog::runInstallation() {
    UpdaterApp& app = UpdaterApp::Instance();
    showPage(PAGE_INSTALL);
    CloseClientWindows();
    loadReleaseNotes();
    readInstallList();
    InstallUpdates(m_fileList, *this, app.programFolder(), app.updateFolder());
    app.allowExit();
}

bool UpdateDialog::readInstallList() {
    m_fileList.clear();
    return ReadFileList(StateFilePath(UpdaterApp::Instance().updateFolder()).c_str(), &m_fileList);
}
