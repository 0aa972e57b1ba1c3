#include "app/UpdaterApp.h"

#include <cstdio>
#include <type_traits>

// Workers abandoned at exit still read the application object after the
// program's static objects are destroyed: it must have nothing to destroy.
static_assert(std::is_trivially_destructible<UpdaterApp>::value, "the application object outlives every worker");

UpdaterApp& UpdaterApp::Instance() {
    static UpdaterApp app;
    return app;
}

void UpdaterApp::SetProgramFolder(const char* folder) {
    snprintf(m_programFolder, sizeof m_programFolder, "%s", folder);
    snprintf(m_updateFolder, sizeof m_updateFolder, "%s\\Update\\", m_programFolder);
}

void UpdaterApp::requestExit() {
    m_exitAllowed = true;
    if (m_mainWindow) SendMessageA(m_mainWindow, WM_CLOSE, 0, 0);
}
