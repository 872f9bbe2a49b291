// The wings' rocking. A counter moves one step per render pass and turns back
// once it leaves -50..50, and each step turns the wings a twentieth of a
// degree, so they rock between about -2.55 and +2.55 degrees from rest
// (51 passes one way, then 102 the other, and so on). The flap turns a wing
// about the pig's body axis (z in the model files) before the heading turns
// the whole pig, so the wings beat up and down whichever way the pig faces.
// No OpenGL.
#pragma once
#include <glm/mat4x4.hpp>

namespace Skyhog::Game {

class WingFlap {
public:
    static constexpr int Limit = 50;
    static constexpr float DegreesPerStep = 0.05f;

    // One render pass: turn back past a limit, then take one step.
    void advance();

    // The counter; the left wing's angle is DegreesPerStep times it.
    int count() const { return flap_; }
    float leftDegrees() const;
    // A wing's pose: its flap (the right wing mirrors the left), then the pig's heading.
    glm::mat4 leftPose(const glm::mat4& heading) const;
    glm::mat4 rightPose(const glm::mat4& heading) const;

private:
    int flap_ = 0;
    int flapDir_ = 1;
};

} // namespace Skyhog::Game
