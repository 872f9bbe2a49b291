#include "app/FrameRate.h"

#include <limits>

namespace Skyhog::App {

int framesPerSecond(double elapsedSeconds)
{
    if (!(elapsedSeconds > 0.0)) return 0;
    const double fps = 1.0 / elapsedSeconds;
    if (fps >= static_cast<double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
    return static_cast<int>(fps);
}

} // namespace Skyhog::App
