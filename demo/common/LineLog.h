// Appends lines to a log file that another program (or the demo script)
// reads while this one runs; each line is written and closed at once.
#pragma once

#include <cstdio>
#include <string>

class LineLog {
public:
    explicit LineLog(std::string path) : path_(std::move(path)) {}

    void Append(const std::string& line) const {
        if (FILE* file = std::fopen(path_.c_str(), "ab")) {
            std::fprintf(file, "%s\r\n", line.c_str());
            std::fclose(file);
        }
    }

private:
    std::string path_;
};
