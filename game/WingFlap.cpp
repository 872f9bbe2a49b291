#include "game/WingFlap.h"

#include <glm/gtc/matrix_transform.hpp>

namespace Skyhog::Game {
namespace {

const glm::vec3 BodyAxis(0.0f, 0.0f, 1.0f);

} // namespace

void WingFlap::advance()
{
    if (flap_ > Limit) flapDir_ = -flapDir_;
    if (flap_ < -Limit) flapDir_ = -flapDir_;
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
    return heading * glm::rotate(glm::mat4(1.0f), glm::radians(leftDegrees()), BodyAxis);
}

glm::mat4 WingFlap::rightPose(const glm::mat4& heading) const
{
    return heading * glm::rotate(glm::mat4(1.0f), glm::radians(-leftDegrees()), BodyAxis);
}

} // namespace Skyhog::Game
