// The folders of a client installation the engine works on: the program
// folder and its Update folder below the benchmark's work folder.
#pragma once

#include <string>

struct ClientFolder {
    std::string program;  // without a trailing backslash, as the engine keeps it
    std::string update;   // with a trailing backslash

    // Creates work\client and work\client\Update.
    static bool Create(const std::string& work, ClientFolder* folder);
};

// The folder of the running program, with a trailing backslash.
std::string ProgramFolderOfThisProcess();
