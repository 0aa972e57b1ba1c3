#include "Timing.h"

#include <algorithm>

ElapsedTimer::ElapsedTimer()
{
    QueryPerformanceFrequency(&frequency_);
    QueryPerformanceCounter(&start_);
}

double ElapsedTimer::Seconds() const
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart - start_.QuadPart) / static_cast<double>(frequency_.QuadPart);
}

double Median(std::vector<double> values)
{
    if (values.empty()) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}
