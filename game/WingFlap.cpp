#include "game/WingFlap.h"

#include <glm/gtc/matrix_transform.hpp>

namespace Skyhog::Game {
namespace {

const glm::vec3 BodyAxis(0.0f, 0.0f, 1.0f);

// Turns a wing about the body's long axis first, then the whole pig by its heading.
glm::mat4 flapped(const glm::mat4& heading, float degrees)
{
    return heading * glm::rotate(glm::mat4(1.0f), glm::radians(degrees), BodyAxis);
}

} // namespace

void WingFlap::advance()
{
    if (flap_ > Limit || flap_ < -Limit) flapDir_ = -flapDir_;
    flap_ += flapDir_;
}

float WingFlap::leftDegrees() const
{
    // Every step turns by DegreesPerStep in the counter's direction, so the
    // turns add up to the counter itself: no rounding builds up over a run.
    return DegreesPerStep * static_cast<float>(flap_);
}

glm::mat4 WingFlap::leftPose(const glm::mat4& heading) const
{
    return flapped(heading, leftDegrees());
}

glm::mat4 WingFlap::rightPose(const glm::mat4& heading) const
{
    return flapped(heading, -leftDegrees());
}

} // namespace Skyhog::Game
