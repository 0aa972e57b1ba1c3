#include "app/UpdaterApp.h"

#include <cstdio>

UpdaterApp& UpdaterApp::Instance() {
    static UpdaterApp app;
    return app;
}

void UpdaterApp::SetProgramFolder(const char* folder) {
    snprintf(programFolder_, sizeof programFolder_, "%s", folder);
    snprintf(updateFolder_, sizeof updateFolder_, "%s\\Update\\", programFolder_);
}

void UpdaterApp::requestExit() {
    exitAllowed_ = true;
    if (mainWindow_) SendMessageA(mainWindow_, WM_CLOSE, 0, 0);
}
