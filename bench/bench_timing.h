#pragma once

#include <algorithm>
#include <chrono>
#include <vector>

namespace pd {

// Milliseconds since `start` on the steady clock.
inline double millisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// The median time of `reps` runs of `run`, in milliseconds (reps at least 1).
template <typename F>
double median(int reps, F run) {
    std::vector<double> times;
    for (int r = 0; r < reps; ++r) {
        const auto start = std::chrono::steady_clock::now();
        run();
        times.push_back(millisecondsSince(start));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace pd
