// Readings of this process from the operating system: resident memory, the
// calling thread's CPU time and how long ago the process started.
#pragma once

namespace Skyhog::Bench::Probe {

// VmRSS from /proc/self/status in MiB; 0 when it cannot be read.
double residentMegabytes();

// CPU time the calling thread has used, in seconds (CLOCK_THREAD_CPUTIME_ID).
double threadCpuSeconds();

// Seconds since the kernel started this process (from /proc/self/stat, in
// clock ticks, so to about 10 ms); a negative value when it cannot be read.
double secondsSinceProcessStart();

} // namespace Skyhog::Bench::Probe
