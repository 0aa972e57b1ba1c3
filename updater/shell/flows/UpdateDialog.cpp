#include "flows/UpdateDialog.h"

#include <commctrl.h>

#include <vector>

#include "window/AboutDialog.h"
#include "install/ClientFiles.h"
#include "install/ClientLauncher.h"
#include "run/Notify.h"
#include "flows/NotifyTexts.h"
#include "transfer/PartialFile.h"
#include "ResourceIds.h"
#include "WholeFile.h"
#include "app/ResourceSource.h"
#include "app/SystemTexts.h"
#include "app/UpdaterApp.h"

namespace {

// Pages in the order they are created, with their templates.
const struct {
    int page;
    int templateId;
} kPageTemplates[] = {
    {PAGE_DOWNLOAD, IDD_DOWNLOAD_PAGE},       {PAGE_NO_UPDATE, IDD_NO_UPDATE_PAGE},
    {PAGE_UPDATE_FOUND, IDD_UPDATE_FOUND_PAGE}, {PAGE_MANDATORY_UPDATE, IDD_MANDATORY_PAGE},
    {PAGE_CHECKING, IDD_CHECKING_PAGE},       {PAGE_INSTALL, IDD_INSTALL_PAGE},
    {PAGE_READY_TO_INSTALL, IDD_READY_PAGE},  {PAGE_FAILED, IDD_FAILED_PAGE},
};

bool IsProgressPage(int page) { return page == PAGE_DOWNLOAD || page == PAGE_INSTALL; }


}  // namespace

UpdateDialog::UpdateDialog() : DialogWindow(IDD_UPDATE), m_trayIcon(IDR_TRAY_MENU) {}

UpdateDialog::~UpdateDialog() = default;

void UpdateDialog::OnInitDialog() {
    UpdaterApp::Instance().SetMainWindow(hwnd());
    AddAboutItem(hwnd());

    m_hIcon = LoadIconA(ResourceModule(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    SendMessageA(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessageA(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    createPages();
    showPage(PAGE_CHECKING);
    startFlowOfRunMode();

    m_trayIcon.SetNotifyWnd(hwnd(), WM_TRAYICON_NOTIFY);
    m_trayIcon.SetIconId(IDR_MAINFRAME);
}

void UpdateDialog::createPages() {
    HWND frame = Item(IDC_PAGE_FRAME);
    RECT area{};
    GetWindowRect(frame, &area);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&area), 2);
    for (const auto& entry : kPageTemplates) {
        auto page = std::make_unique<WizardPage>(entry.templateId);
        page->Create(hwnd(), area);
        m_pages[entry.page] = std::move(page);
    }
    ShowWindow(frame, SW_HIDE);
}

void UpdateDialog::startFlowOfRunMode() {
    UpdaterApp& app = UpdaterApp::Instance();
    switch (app.runMode()) {
        case RUN_MODE_DOWNLOAD_WITH_GUI:
        case RUN_MODE_FORCE_DOWNLOAD_AND_UPDATE:
            startWorker(&UpdateDialog::checkForUpdates);
            break;
        case RUN_MODE_UPDATE:
            if (readInstallList()) loadReleaseNotes();
            break;
        case RUN_MODE_FORCE_UPDATE:
            startWorker(&UpdateDialog::runInstallation);
            break;
        case RUN_MODE_SHOW_NO_UPDATE_INFO:
            showPage(PAGE_NO_UPDATE);
            app.allowExit();
            break;
        default:
            break;
    }
}

bool UpdateDialog::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    *result = 0;
    switch (msg) {
        case WM_UPDATE_NOTIFY:
            onUpdateNotify(wParam, lParam);
            return true;
        case WM_FLOW_REQUEST:
            *result = onFlowRequest(wParam, lParam);
            return true;
        case WM_CLOSE:
            onClose();
            return true;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == IDM_ABOUTBOX) {
                AboutDialog about;
                about.RunModal(hwnd());
                return true;
            }
            return false;
        case WM_COMMAND:
            onCommand(LOWORD(wParam));
            return true;
        case WM_DESTROY:
            // The icon must not outlive the window it reports to.
            m_trayIcon.SetIconId(0);
            // The program ends with the window: a download still running
            // must leave no partial file, and the reports no one will read
            // must not take their texts with them.
            DiscardPartialFiles();
            DiscardQueuedNotifications(hwnd());
            return false;
        default:
            return false;
    }
}

void UpdateDialog::onCommand(int id) {
    switch (id) {
        case IDC_START_UPDATE:
            startUpdate();
            break;
        case IDC_INSTALL_NOW:
            if (claimPress(PAGE_READY_TO_INSTALL)) installNow();
            break;
        case IDC_EXIT:
            UpdaterApp::Instance().requestExit();
            break;
        case IDC_FINISH:
            finishAndRestartClient();
            break;
        case IDCANCEL:  // Escape acts as the close box
            onClose();
            break;
        case ID_TRAY_SHOW:
            showWindow();
            break;
        case ID_TRAY_HIDE:
            hideWindow();
            break;
        default:
            break;
    }
}

void UpdateDialog::onClose() {
    if (UpdaterApp::Instance().exitAllowed()) {
        EndModal(IDCANCEL);
    } else {
        ShowWindow(hwnd(), SW_HIDE);
    }
}

void UpdateDialog::onUpdateNotify(WPARAM code, LPARAM value) {
    switch (code) {
        case NOTIFY_NEWS_READY:
            loadReleaseNotes();
            break;
        case NOTIFY_ITEM_COUNT:
            if (!isStaleOnInstallPage()) setProgressRange(static_cast<int>(value));
            m_filesToUpdate = static_cast<int>(value);
            break;
        case NOTIFY_ITEM_DONE:
            if (!isStaleOnInstallPage()) setProgressPosition(static_cast<int>(value) + 1);
            break;
        case NOTIFY_TEXT:
        case NOTIFY_SERVER:
            ReleaseNotifyText(code, value);
            break;
        case NOTIFY_FINISHED:
            m_filesDownloaded = static_cast<int>(value);
            m_engineRunFinished = true;
            break;
        default:
            break;
    }
}

LRESULT UpdateDialog::onFlowRequest(WPARAM request, LPARAM value) {
    switch (request) {
        case REQUEST_SHOW_PAGE:
            showPage(static_cast<int>(value));
            break;
        case REQUEST_SHOW_WINDOW:
            showWindow();
            break;
        case REQUEST_HIDE_WINDOW:
            hideWindow();
            break;
        case REQUEST_LOAD_NOTES:
            return loadReleaseNotes();
        case REQUEST_INSTALL_NOW:
            installNow();
            break;
        case REQUEST_INSTALL_RANGE:
            SetRange(static_cast<int>(value));
            break;
        case REQUEST_INSTALL_POSITION:
            SetPosition(static_cast<int>(value));
            break;
        case REQUEST_INSTALL_FINISH:
            EnableFinish(value != 0);
            break;
        case REQUEST_INSTALL_DONE:
            SetDoneCaption();
            break;
        default:
            break;
    }
    return 0;
}

void UpdateDialog::showPage(int page) {
    m_currentPage = page;
    // Before the page can be seen, so that no press on it comes too early.
    m_pressablePage = page;
    for (auto& [number, window] : m_pages) ShowWindow(window->hwnd(), number == page ? SW_SHOW : SW_HIDE);
}

// Progress posted by an engine run that has since finished (NOTIFY_FINISHED
// is sent, so it overtakes what was posted before it) is the download's: it
// still completes the download page's bar, but once the installation's page
// is shown (at once, in the mode that installs after the download) it must
// not move that page's bar.
bool UpdateDialog::isStaleOnInstallPage() const { return m_engineRunFinished && m_currentPage == PAGE_INSTALL; }

bool UpdateDialog::claimPress(int page) {
    if (m_pressablePage != page) return false;
    m_pressablePage = -1;
    return true;
}

HWND UpdateDialog::pageItem(int page, int id) const {
    auto found = m_pages.find(page);
    return found == m_pages.end() ? nullptr : found->second->Item(id);
}

int UpdateDialog::loadReleaseNotes() {
    // The notes are shown as they are, read while others may hold the file
    // open; a file that cannot be read whole shows nothing.
    std::string notes;
    if (!ReadWholeFile(ReleaseNotesPath(UpdaterApp::Instance().updateFolder()), &notes)) return 0;
    if (IsProgressPage(m_currentPage)) SetWindowTextA(pageItem(m_currentPage, IDC_NOTES), notes.c_str());
    return 1;
}

void UpdateDialog::setProgressRange(int count) {
    if (IsProgressPage(m_currentPage)) SendMessageA(pageItem(m_currentPage, IDC_PROGRESS), PBM_SETRANGE32, 0, count);
}

void UpdateDialog::setProgressPosition(int position) {
    if (IsProgressPage(m_currentPage)) SendMessageA(pageItem(m_currentPage, IDC_PROGRESS), PBM_SETPOS, position, 0);
}

void UpdateDialog::showWindow() {
    ShowWindow(hwnd(), SW_SHOWNORMAL);
    SetForegroundWindow(hwnd());
}

void UpdateDialog::hideWindow() {
    ShowWindow(hwnd(), SW_HIDE);
    SetForegroundWindow(hwnd());
}

void UpdateDialog::SetRange(int count) { SendMessageA(pageItem(PAGE_INSTALL, IDC_PROGRESS), PBM_SETRANGE32, 0, count); }

void UpdateDialog::SetPosition(int position) {
    SendMessageA(pageItem(PAGE_INSTALL, IDC_PROGRESS), PBM_SETPOS, position, 0);
}

void UpdateDialog::EnableFinish(bool enabled) { EnableWindow(pageItem(PAGE_INSTALL, IDC_FINISH), enabled); }

void UpdateDialog::SetDoneCaption() { SetWindowTextA(pageItem(PAGE_INSTALL, IDC_PROGRESS_CAPTION), TEXT_INSTALL_DONE); }

void UpdateDialog::finishAndRestartClient() {
    UpdaterApp& app = UpdaterApp::Instance();
    HWND owner = hwnd();
    app.requestExit();
    StartClientAfterUpdate(owner, app.programFolder());
}
