// Linked only into the test build of Koravel.exe (koravel_killable): it
// observes the steps the program marks (run/StepMarks.h), as two variables
// of its environment ask:
//   KORAVEL_STEP_LOG=<file>   appends every step reached, a line each;
//   KORAVEL_KILL_AT=<step>#<n> ends the process at once, as a power cut or
//                              the task manager would, right after the n-th
//                              time that step is reached.
#include "run/StepMarks.h"

#include "KernelHandles.h"

#include <windows.h>

#include <cstdlib>
#include <map>
#include <mutex>
#include <string>

namespace {

// Steps are marked from several threads of the program.
std::mutex& StepLock() {
    static std::mutex* lock = new std::mutex;  // never destroyed: a worker may mark a step at exit
    return *lock;
}

std::string Environment(const char* name) {
    char value[1024] = {};
    DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

void AppendLine(const std::string& path, const std::string& line) {
    FileHandle log(CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!log) return;
    std::string text = line + "\r\n";
    DWORD written = 0;
    WriteFile(log.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

void ObserveStep(const char* step) {
    static const std::string stepLog = Environment("KORAVEL_STEP_LOG");
    static const std::string killAt = Environment("KORAVEL_KILL_AT");
    static std::map<std::string, int>* reached = new std::map<std::string, int>;

    std::lock_guard<std::mutex> guard(StepLock());
    int count = ++(*reached)[step];
    if (!stepLog.empty()) AppendLine(stepLog, step);
    if (killAt == std::string(step) + "#" + std::to_string(count)) TerminateProcess(GetCurrentProcess(), 99);
}

const bool kObserving = (SetStepObserver(&ObserveStep), true);

}  // namespace
