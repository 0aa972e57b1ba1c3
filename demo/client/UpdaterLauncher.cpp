#include "UpdaterLauncher.h"

#include <windows.h>

#include "KernelHandles.h"

bool StartUpdater(const std::string& clientFolder, const std::string& modeWord) {
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    FileHandle output(CreateFileA((clientFolder + "\\koravel-out.txt").c_str(), GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (output) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = output.Get();
        startup.hStdError = output.Get();
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    }
    // The updater compares its whole command-line text with the mode words.
    std::string commandLine = "\"" + clientFolder + "\\Koravel.exe\" " + modeWord;
    PROCESS_INFORMATION process{};
    BOOL started = CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, clientFolder.c_str(),
                                  &startup, &process);
    if (!started) return false;
    ProcessHandles{process};  // the updater runs on by itself
    return true;
}
