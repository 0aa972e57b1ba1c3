// The test client program, copied into a client folder as Stock.exe and
// started there; ended when the test is done.
#pragma once

#include <windows.h>

#include <string>

#include "KernelHandles.h"

class TestClientProcess {
public:
    // Copies the program into the folder; starts it when arguments are given.
    explicit TestClientProcess(const std::string& folder, const std::string& arguments = std::string());
    ~TestClientProcess();
    TestClientProcess(const TestClientProcess&) = delete;
    TestClientProcess& operator=(const TestClientProcess&) = delete;

    bool WaitReady();
    std::string Log() const;

private:
    std::string folder_;
    ProcessHandles process_;
};

// Lines of the log that are exactly the given text.
int CountLines(const std::string& log, const std::string& line);
