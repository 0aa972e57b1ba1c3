#include "Support.h"

#include <shellapi.h>

#include <cstring>
#include <vector>

static_assert(sizeof(VersionBlock) == sizeof(VS_FIXEDFILEINFO), "version block mirrors VS_FIXEDFILEINFO");

bool GetProgramFolder(char folder[MAX_PATH]) {
    char path[MAX_PATH] = {};
    DWORD reported = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (reported == 0 || reported >= MAX_PATH || reported != std::strlen(path)) return false;
    char* cut = nullptr;
    for (char* cursor = path; *cursor != '\0'; ++cursor) {
        if (*cursor == '\\' || *cursor == '/') cut = cursor;
    }
    if (cut != nullptr) *cut = '\0';
    std::memcpy(folder, path, MAX_PATH);
    return true;
}

bool FileExists(const char* path) {
    if (path == nullptr) return false;
    char bounded[MAX_PATH] = {};
    lstrcpynA(bounded, path, MAX_PATH);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(bounded, &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return true;
}

bool DeleteFileQuietly(const char* path) {
    if (path != nullptr) DeleteFileA(path);
    return true;
}

void CreateDirectoriesAnySeparator(const char* path) {
    if (path == nullptr) return;
    for (const std::string& folder : FolderPrefixesAnySeparator(path)) CreateDirectoryA(folder.c_str(), nullptr);
}

bool CreateDirectoriesBackslash(const char* path) {
    if (path == nullptr) return false;
    BOOL last = FALSE;
    for (const std::string& folder : FolderPrefixesBackslash(path)) last = CreateDirectoryA(folder.c_str(), nullptr);
    return last != FALSE;
}

bool ReadVersionBlock(const char* path, VS_FIXEDFILEINFO* block) {
    if (path == nullptr || block == nullptr) return false;
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    if (size == 0) return false;
    std::vector<char> resource(size);
    if (!GetFileVersionInfoA(path, 0, size, resource.data())) return false;
    void* root = nullptr;
    UINT rootLength = 0;
    if (!VerQueryValueA(resource.data(), "\\", &root, &rootLength) || root == nullptr ||
        rootLength < sizeof(VS_FIXEDFILEINFO)) {
        return false;
    }
    std::memcpy(block, root, sizeof(VS_FIXEDFILEINFO));
    return true;
}

bool ReadVersionBlock(const char* path, VersionBlock* block) {
    VS_FIXEDFILEINFO info;
    if (block == nullptr || !ReadVersionBlock(path, &info)) return false;
    std::memcpy(static_cast<void*>(block), &info, sizeof info);
    return true;
}

std::string FileVersionText(const VS_FIXEDFILEINFO& block) {
    return VersionText(block.dwFileVersionMS, block.dwFileVersionLS);
}

int Today() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return DateNumber(now.wYear, now.wMonth, now.wDay);
}

int Now() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return TimeNumber(now.wHour, now.wMinute, now.wSecond);
}

HANDLE RunProgram(HWND owner, const char* file, const char* parameters) {
    SHELLEXECUTEINFOA execute = {};
    execute.cbSize = sizeof execute;
    execute.fMask = SEE_MASK_NOCLOSEPROCESS;
    execute.hwnd = owner;
    execute.lpVerb = "open";
    execute.lpFile = file;
    execute.lpParameters = parameters;
    execute.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExA(&execute)) return nullptr;
    return execute.hProcess;
}
