#include "TestSupport.h"

#include <cstdio>
#include <thread>
#include <vector>

std::string Gb(const char* utf8) {
    int wide = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    std::vector<wchar_t> unicode(static_cast<size_t>(wide));
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, unicode.data(), wide);
    int narrow = WideCharToMultiByte(936, 0, unicode.data(), -1, nullptr, 0, nullptr, nullptr);
    std::vector<char> bytes(static_cast<size_t>(narrow));
    WideCharToMultiByte(936, 0, unicode.data(), -1, bytes.data(), narrow, nullptr, nullptr);
    return std::string(bytes.data());
}

namespace {

void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            std::string path = folder + "\\" + name;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

}  // namespace

ScratchFolder::ScratchFolder() {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    static int counter = 0;
    char name[MAX_PATH];
    snprintf(name, sizeof name, "%skoravel-test-%lu-%d", temp, GetCurrentProcessId(), ++counter);
    path_ = name;
    RemoveTree(path_);
    CreateDirectoryA(path_.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() { RemoveTree(path_); }

void WriteFile(const std::string& path, const std::string& content) {
    FILE* file = fopen(path.c_str(), "wb");
    if (!file) return;
    fwrite(content.data(), 1, content.size(), file);
    fclose(file);
}

std::string ReadFile(const std::string& path) {
    std::string content;
    FILE* file = fopen(path.c_str(), "rb");
    if (!file) return content;
    char chunk[4096];
    size_t got;
    while ((got = fread(chunk, 1, sizeof chunk, file)) > 0) content.append(chunk, got);
    fclose(file);
    return content;
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void MakeFolder(const std::string& path) { CreateDirectoryA(path.c_str(), nullptr); }

void CopyInto(const std::string& source, const std::string& target) { CopyFileA(source.c_str(), target.c_str(), FALSE); }

std::string HostPathToWindows(const char* hostPath) {
    std::string path = hostPath;
    if (!path.empty() && path[0] == '/') {
        path = "Z:" + path;
        for (char& c : path)
            if (c == '/') c = '\\';
    }
    return path;
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (condition()) return true;
        PumpMessagesFor(std::chrono::milliseconds(50));
    }
    return condition();
}

void PumpMessagesFor(std::chrono::milliseconds duration) {
    auto end = std::chrono::steady_clock::now() + duration;
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    } while (std::chrono::steady_clock::now() < end);
}
