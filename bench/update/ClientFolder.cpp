#include "ClientFolder.h"

#include <windows.h>

namespace {

bool CreateFolder(const std::string& path)
{
    return CreateDirectoryA(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

}  // namespace

bool ClientFolder::Create(const std::string& work, ClientFolder* folder)
{
    folder->program = work + "\\client";
    folder->update = folder->program + "\\Update\\";
    return CreateFolder(work) && CreateFolder(folder->program) && CreateFolder(folder->update);
}

std::string ProgramFolderOfThisProcess()
{
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return std::string();
    }
    std::string folder(path, length);
    return folder.substr(0, folder.rfind('\\') + 1);
}
