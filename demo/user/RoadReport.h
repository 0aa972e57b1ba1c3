// The lines the demonstration prints about the road: one per step, with the
// picture taken at it. Bash turns them into the final report.
//   ok <what happened>
//   FAIL <what did not happen>
//   shot <picture name>
#pragma once

#include <windows.h>

#include <string>

class RoadReport {
public:
    explicit RoadReport(std::string shotsFolder) : shotsFolder_(std::move(shotsFolder)) {}

    // Prints the step's outcome; returns it so that the road can stop.
    bool Check(bool happened, const std::string& what);
    // Saves the area of the screen as <name>.bmp in the pictures folder.
    bool Picture(const std::string& name, const RECT& area);
    bool failed() const { return failed_; }

private:
    std::string shotsFolder_;
    bool failed_ = false;
};
