// Date and time as the integers the state file and the traces use, the
// version text of a version block, and the timing trace.
#pragma once

#include "manifest/UpdateItem.h"

#include <ctime>
#include <string>

// year * 10000 + month * 100 + day, e.g. 20240305.
int DateNumber(int year, int month, int day);
// hour * 10000 + minute * 100 + second; no leading zero, so 93005 at 09:30:05.
int TimeNumber(int hour, int minute, int second);

// "%u.%u.%u.%u" of the four 16-bit parts, most significant first.
std::string VersionText(uint32_t mostSignificant, uint32_t leastSignificant);
std::string FileVersionText(const VersionBlock& block);
std::string ProductVersionText(const VersionBlock& block);

// Writes "<label>: times: <seconds> s" to standard output when destroyed,
// timed by the process's processor clock.
class Stopwatch {
public:
    explicit Stopwatch(const char* label);
    ~Stopwatch();
    Stopwatch(const Stopwatch&) = delete;
    Stopwatch& operator=(const Stopwatch&) = delete;

private:
    char label_[260];
    std::clock_t start_;
};
