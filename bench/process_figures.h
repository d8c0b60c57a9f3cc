// Wall time, and the figures a probe gives of its own process, on Linux and on Windows.
#pragma once

#include <chrono>

namespace vh::bench {

using Clock = std::chrono::steady_clock;

inline double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// The CPU time (user + system) the process has used so far, in milliseconds.
double CpuMs();
// The largest resident memory the process has had so far, in MB.
double PeakMb();

}  // namespace vh::bench
