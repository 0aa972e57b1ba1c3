// Wall-clock timing of one step, and the median of repeated timings.
#pragma once

#include <windows.h>

#include <vector>

class ElapsedTimer {
public:
    ElapsedTimer();
    double Seconds() const;

private:
    LARGE_INTEGER start_;
    LARGE_INTEGER frequency_;
};

double Median(std::vector<double> values);
