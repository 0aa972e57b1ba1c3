#include "flows/EngineRun.h"

#include <memory>

#include "install/ClientFiles.h"
#include "ResourceIds.h"
#include "app/ResourceSource.h"
#include "app/UpdaterApp.h"

void RunUpdateEngine(HWND notifyWindow, const EngineSteps& steps) {
    const UpdaterApp& app = UpdaterApp::Instance();
    auto engine = std::make_unique<UpdateEngine>();
    engine->SetServer(StockIniPath(app.programFolder()).c_str());
    engine->SetUpdateFolder(app.updateFolder());
    engine->SetNotifyWindow(notifyWindow);
    engine->SetManifestKey(LoadResourceData(IDR_MANIFEST_KEY));
    if (engine->Start(steps)) engine->Wait();
}
