// GPU time of a fixed number of numbered sections per frame, from
// GL_TIME_ELAPSED queries. The query objects are made once and reused every
// frame; sections must not overlap (one elapsed-time query at a time).
//
// Per frame: begin(i)/end() around each section, then, once the GPU is done
// (after glFinish), collect() returns each section's time in milliseconds.
#pragma once
#include "render/Gl.h"

#include <vector>

namespace Skyhog::Bench {

class GpuTimer {
public:
    explicit GpuTimer(int sections);
    ~GpuTimer();
    GpuTimer(const GpuTimer&) = delete;
    GpuTimer& operator=(const GpuTimer&) = delete;

    void begin(int section);
    void end();
    // Each section's time this frame; a section not measured this frame reads -1.
    std::vector<double> collect();

private:
    std::vector<GLuint> queries_;
    std::vector<bool> used_;
};

} // namespace Skyhog::Bench
