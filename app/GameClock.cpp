#include "app/GameClock.h"

namespace Skyhog::App {

double GameClock::at(double wall) const
{
    return (paused_ ? pausedAt_ : wall) - pausedTotal_;
}

void GameClock::pause(double wall)
{
    if (paused_) return;
    paused_ = true;
    pausedAt_ = wall;
}

void GameClock::resume(double wall)
{
    if (!paused_) return;
    paused_ = false;
    pausedTotal_ += wall - pausedAt_;
}

} // namespace Skyhog::App
