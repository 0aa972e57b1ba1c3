#include "app/RunMode.h"

#include "CaseFolding.h"

RunMode ParseRunMode(const char* commandLine) {
    static const char* const kWords[] = {
        "Download",          "DownloadWithGUI",        "Update",      "DownloadAndUpdate",
        "ForceDownloadAndUpdate", "ForceUpdate", "ShowNoUpdateInfo",
    };
    if (!commandLine) return RUN_MODE_NONE;
    for (int mode = 0; mode < static_cast<int>(sizeof kWords / sizeof kWords[0]); ++mode) {
        if (EqualsIgnoreCase(commandLine, kWords[mode])) return static_cast<RunMode>(mode);
    }
    return RUN_MODE_NONE;
}
