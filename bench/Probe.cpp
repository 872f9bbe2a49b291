#include "Probe.h"

#include <time.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

namespace Skyhog::Bench::Probe {

double residentMegabytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            std::istringstream fields(line.substr(6));
            double kilobytes = 0.0;
            fields >> kilobytes;
            return kilobytes / 1024.0;
        }
    }
    return 0.0;
}

double threadCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double secondsSinceProcessStart()
{
    std::ifstream file("/proc/self/stat");
    std::string stat;
    if (!std::getline(file, stat)) return -1.0;
    // The command name (field 2) is in parentheses and may hold spaces; count from its end.
    const auto close = stat.rfind(')');
    if (close == std::string::npos) return -1.0;
    std::istringstream fields(stat.substr(close + 1));
    std::string field;
    // Fields 3 to 21 come first; field 22 is the start time in ticks since boot.
    for (int n = 3; n <= 21; ++n) fields >> field;
    unsigned long long startTicks = 0;
    if (!(fields >> startTicks)) return -1.0;
    const long ticksPerSecond = sysconf(_SC_CLK_TCK);
    if (ticksPerSecond <= 0) return -1.0;
    timespec now{};
    if (clock_gettime(CLOCK_BOOTTIME, &now) != 0) return -1.0;
    const double sinceBoot = static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
    return sinceBoot - static_cast<double>(startTicks) / static_cast<double>(ticksPerSecond);
}

} // namespace Skyhog::Bench::Probe
