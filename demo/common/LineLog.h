// Appends lines to a log file that another program (or the demo script)
// reads while this one runs; each line is written and closed at once.
#pragma once

#include <cstdio>
#include <string>

#include "StdioFile.h"

class LineLog {
public:
    explicit LineLog(std::string path) : path_(std::move(path)) {}

    void Append(const std::string& line) const {
        StdioFile file(std::fopen(path_.c_str(), "ab"));
        if (file) std::fprintf(file.Get(), "%s\r\n", line.c_str());
    }

private:
    std::string path_;
};
