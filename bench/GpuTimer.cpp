#include "GpuTimer.h"

#include <cstddef>

namespace Skyhog::Bench {

GpuTimer::GpuTimer(int sections) : queries_(static_cast<std::size_t>(sections), 0), used_(queries_.size(), false)
{
    glGenQueries(static_cast<GLsizei>(queries_.size()), queries_.data());
}

GpuTimer::~GpuTimer()
{
    glDeleteQueries(static_cast<GLsizei>(queries_.size()), queries_.data());
}

void GpuTimer::begin(int section)
{
    const auto index = static_cast<std::size_t>(section);
    glBeginQuery(GL_TIME_ELAPSED, queries_[index]);
    used_[index] = true;
}

void GpuTimer::end()
{
    glEndQuery(GL_TIME_ELAPSED);
}

std::vector<double> GpuTimer::collect()
{
    std::vector<double> milliseconds(queries_.size(), -1.0);
    for (std::size_t i = 0; i < queries_.size(); ++i) {
        if (!used_[i]) continue;
        GLuint64 nanoseconds = 0;
        glGetQueryObjectui64v(queries_[i], GL_QUERY_RESULT, &nanoseconds);
        milliseconds[i] = static_cast<double>(nanoseconds) * 1e-6;
        used_[i] = false;
    }
    return milliseconds;
}

} // namespace Skyhog::Bench
