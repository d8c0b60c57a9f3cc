// The figures a probe gives of its own process: CPU time and peak memory.
#include "process_figures.h"

#ifdef _WIN32
#include "platform/windows_api.h"
// psapi.h needs the types of windows.h.
#include <psapi.h>

#include <cstdint>
#else
#include <sys/resource.h>

#include <fstream>
#include <string>
#endif

namespace vh::bench {

#ifdef _WIN32

double CpuMs() {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return -1;
    auto ms = [](const FILETIME& t) {  // in units of 100 ns
        return static_cast<double>((static_cast<std::uint64_t>(t.dwHighDateTime) << 32) |
                                   t.dwLowDateTime) /
               1e4;
    };
    return ms(kernel) + ms(user);
}

double PeakMb() {
    PROCESS_MEMORY_COUNTERS c{};
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &c, sizeof c)) return -1;
    return static_cast<double>(c.PeakWorkingSetSize) / (1024.0 * 1024.0);
}

#else

double CpuMs() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 +
           (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

// VmHWM of /proc/self/status (the resident peak), else ru_maxrss, in MB.
double PeakMb() {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_maxrss) / 1024.0;
}

#endif

}  // namespace vh::bench
