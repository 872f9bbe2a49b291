// The camera's eye state: the point it looks at (which follows the pig), the
// viewing direction from yaw and pitch, and the last cursor position for
// mouse look. Also answers the view for each render pass. No OpenGL.
//
// Call order per pass: update() first (it follows the pig or consumes the
// free-flight displacement), then the view and eye queries.
#pragma once
#include "render/Placed.h"

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>
#include <string_view>

namespace Skyhog::Game {

// Where a pass looks from: eye point, the point looked at, and the up direction.
struct PassEye {
    glm::vec3 eye{0.0f};
    glm::vec3 target{0.0f, 0.0f, 1.0f};
    glm::vec3 up{0.0f, 1.0f, 0.0f};
    // The viewer's right: normalize(cross(target - eye, up)).
    glm::vec3 right() const;
};

class CameraRig {
public:
    // The chase camera sits this far behind the point it looks at.
    static constexpr float ChaseDistance = 4.0f;
    static constexpr float MouseSensitivity = 0.05f;

    explicit CameraRig(const Scene::Placed& pig);

    // Follows the pig, or in free flight applies and clears the pending displacement.
    void update();
    // Turns the view by the cursor's travel since the previous event.
    void mouseLook(float x, float y, bool first);
    // Turns the view as a cursor moved by (xOffset, yOffset) would, for
    // inputs that have no position of their own (a gamepad's stick).
    void turn(float xOffset, float yOffset);

    // The eye for a pass name; lamp is the light's world position (used by "shadow").
    PassEye eyeFor(std::string_view pass, const glm::vec3& lamp) const;
    glm::mat4 viewFor(std::string_view pass, const glm::vec3& lamp) const;

    const glm::vec3& getPosition() const { return position_; }
    const glm::vec3& getFront() const { return front_; }
    const glm::vec3& getUp() const { return up_; }
    float getYaw() const { return yaw_; }
    float getPitch() const { return pitch_; }
    // Turns the pig (nose +z in its file) to face the horizontal front.
    glm::mat4 headingPose() const;
    // normalize((1, 0, 0) - position).
    glm::vec3 aim() const;

    void setPending(const glm::vec3& displacement) { pending_ = displacement; }
    void setFreeFlight(bool on) { freeFlight_ = on; }
    void setCullingView(bool on) { cullingView_ = on; }
    bool freeFlight() const { return freeFlight_; }

private:
    void updateFront();

    bool freeFlight_ = false;
    bool cullingView_ = false;
    glm::vec3 position_;
    glm::vec3 front_{0.0f, 0.0f, 1.0f};
    glm::vec3 up_{0.0f, 1.0f, 0.0f};
    glm::vec3 pending_{0.0f};
    const Scene::Placed& pig_; // the pig model it follows
    float yaw_ = -90.0f;
    float pitch_ = 0.0f;
    float lastX_ = 512.0f;
    float lastY_ = 384.0f;
};

} // namespace Skyhog::Game
