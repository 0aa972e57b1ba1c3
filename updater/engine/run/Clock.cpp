#include "run/Clock.h"

#include <cstdio>

int DateNumber(int year, int month, int day) { return year * 10000 + month * 100 + day; }

int TimeNumber(int hour, int minute, int second) { return hour * 10000 + minute * 100 + second; }

std::string VersionText(uint32_t mostSignificant, uint32_t leastSignificant) {
    char text[64];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", static_cast<unsigned>(mostSignificant >> 16),
                  static_cast<unsigned>(mostSignificant & 0xFFFF), static_cast<unsigned>(leastSignificant >> 16),
                  static_cast<unsigned>(leastSignificant & 0xFFFF));
    return text;
}

std::string FileVersionText(const VersionBlock& block) {
    return VersionText(block.fileVersionMS, block.fileVersionLS);
}

std::string ProductVersionText(const VersionBlock& block) {
    return VersionText(block.productVersionMS, block.productVersionLS);
}

Stopwatch::Stopwatch(const char* label) : label_{}, start_(std::clock()) {
    std::snprintf(label_, sizeof label_, "%s", label == nullptr ? "" : label);
}

Stopwatch::~Stopwatch() {
    double milliseconds = static_cast<double>(std::clock() - start_) * 1000.0 / CLOCKS_PER_SEC;
    std::printf("%s: times: %.3f s\n", label_, milliseconds * 0.001);
}
