// Helpers of the shell's Windows tests: texts in the client's code page,
// scratch folders, files, and waiting for something another thread or
// process does.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>

// UTF-8 text of the test source as GB2312 bytes.
std::string Gb(const char* utf8);

// A fresh folder under the temporary folder, removed with its content.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

void WriteFile(const std::string& path, const std::string& content);
std::string ReadFile(const std::string& path);
bool FileExists(const std::string& path);
void MakeFolder(const std::string& path);
void CopyInto(const std::string& source, const std::string& target);

// A build output given by its host path, as a Windows path.
std::string HostPathToWindows(const char* hostPath);

// Polls until the condition holds or the time is up; returns the last result.
bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit = std::chrono::seconds(20));

// Dispatches the calling thread's messages for a while.
void PumpMessagesFor(std::chrono::milliseconds duration);
