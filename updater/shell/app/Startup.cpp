#include "app/Startup.h"

#include <windows.h>

#include <memory>

#include "flows/EngineRun.h"
#include "app/PlatformServices.h"
#include "ResourceIds.h"
#include "app/ResourceSource.h"
#include "app/RunMode.h"
#include "ProgramFolder.h"
#include "flows/UpdateDialog.h"
#include "app/UpdaterApp.h"

namespace {

void RunWindowMode() {
    auto dialog = std::make_shared<UpdateDialog>();
    dialog->RunModal(nullptr);
    UpdaterApp::Instance().SetMainWindow(nullptr);
}

}  // namespace

int RunUpdater(const char* commandLine) {
    SingleInstanceLock lock;
    if (lock.heldElsewhere()) return 0;
    UiPlatform platform;
    const std::optional<std::string> programFolder = ProgramFolder();
    if (!programFolder) return 0;
    ResourceLibrary resources(programFolder->c_str());

    UpdaterApp& app = UpdaterApp::Instance();
    app.SetProgramFolder(programFolder->c_str());
    app.SetRunMode(ParseRunMode(commandLine));

    switch (app.runMode()) {
        case RUN_MODE_NONE:
            MessageBoxA(nullptr, LoadResourceString(IDS_START_FROM_CLIENT).c_str(), "Koravel", MB_OK);
            break;
        case RUN_MODE_DOWNLOAD:
            // Silent: the result stays in the state file; Stock.ini is not touched.
            RunUpdateEngine(nullptr, kDownloadSteps);
            break;
        default:
            RunWindowMode();
            break;
    }
    return 0;
}
