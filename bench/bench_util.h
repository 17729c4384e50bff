// bench_util.h: the clock and the median the benchmark programs share.
#pragma once

#include <algorithm>
#include <ctime>
#include <vector>

// Seconds on the monotonic clock.
inline double seconds()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The median of the values; 0 for none.
inline double median(std::vector<double> values)
{
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : 0.5 * (values[n / 2 - 1] + values[n / 2]);
}
