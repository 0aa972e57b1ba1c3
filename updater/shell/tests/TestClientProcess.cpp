#include "TestClientProcess.h"

#include <sstream>

#include "TestSupport.h"

TestClientProcess::TestClientProcess(const std::string& folder, const std::string& arguments) : folder_(folder) {
    CopyInto(HostPathToWindows(KORAVEL_TEST_CLIENT), folder_ + "\\Stock.exe");
    if (arguments.empty()) return;
    std::string commandLine = "\"" + folder_ + "\\Stock.exe\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder_.c_str(), &startup,
                       &started))
        process_ = ProcessHandles(started);
}

TestClientProcess::~TestClientProcess() {
    if (!process_.process) return;
    TerminateProcess(process_.process.Get(), 0);
    WaitForSingleObject(process_.process.Get(), 5000);
}

bool TestClientProcess::WaitReady() {
    return WaitFor([this] { return CountLines(Log(), "READY") == 1; });
}

std::string TestClientProcess::Log() const { return ReadWholeFile(folder_ + "\\client-log.txt"); }

int CountLines(const std::string& log, const std::string& line) {
    std::istringstream lines(log);
    std::string current;
    int count = 0;
    while (std::getline(lines, current)) {
        if (!current.empty() && current.back() == '\r') current.pop_back();
        if (current == line) ++count;
    }
    return count;
}
