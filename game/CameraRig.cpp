#include "game/CameraRig.h"

#include "render/RenderPass.h"

#include <glm/geometric.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/constants.hpp>
#include <glm/trigonometric.hpp>

#include <algorithm>
#include <cmath>

namespace Skyhog::Game {

glm::vec3 PassEye::right() const
{
    return glm::normalize(glm::cross(target - eye, up));
}

CameraRig::CameraRig(const Scene::Placed& pig) : pig_(pig)
{
    const glm::vec4 t = pig.modelMatrix()[3];
    position_ = glm::vec3(t.x, t.y, -t.z); // replaced by the first update()
}

void CameraRig::update()
{
    if (!freeFlight_) {
        position_ = glm::vec3(pig_.modelMatrix()[3]);
    } else {
        position_ += pending_;
        pending_ = glm::vec3(0.0f);
    }
}

void CameraRig::mouseLook(float x, float y, bool first)
{
    if (first) {
        lastX_ = x;
        lastY_ = y;
    }
    const float xOffset = x - lastX_;
    const float yOffset = y - lastY_;
    lastX_ = x;
    lastY_ = y;
    turn(xOffset, yOffset);
}

void CameraRig::turn(float xOffset, float yOffset)
{
    yaw_ -= MouseSensitivity * xOffset;
    pitch_ = std::clamp(pitch_ + MouseSensitivity * yOffset, -89.0f, 89.0f);
    updateFront();
}

void CameraRig::updateFront()
{
    const float a = glm::radians(yaw_);
    const float b = glm::radians(pitch_);
    if (!freeFlight_ && !cullingView_) {
        // The pitch scales the yaw angle itself, so the heading drifts toward
        // +x as the view tilts; that is how the chase camera has always felt.
        front_ = glm::normalize(glm::vec3(std::cos(a * std::cos(b)), std::sin(b), -std::sin(a * std::cos(b))));
    } else {
        // Free flight and the culling view look a little upwards.
        front_ = glm::normalize(glm::vec3(std::cos(a) * std::cos(b), std::sin(b) + 0.7f, -std::sin(a) * std::cos(b)));
    }
}

glm::mat4 CameraRig::headingPose() const
{
    // A turn by yaw + 90 degrees about y carries +z onto (cos yaw, 0, -sin yaw),
    // the horizontal part of the front.
    const float heading = glm::radians(yaw_) + glm::half_pi<float>();
    return glm::rotate(glm::mat4(1.0f), heading, glm::vec3(0.0f, 1.0f, 0.0f));
}

glm::vec3 CameraRig::aim() const
{
    return glm::normalize(glm::vec3(1.0f, 0.0f, 0.0f) - position_);
}

PassEye CameraRig::eyeFor(std::string_view pass, const glm::vec3& lamp) const
{
    PassEye eye;
    if (pass == RenderPass::Main || pass == RenderPass::Refraction) {
        eye.eye = position_ - ChaseDistance * front_;
        eye.target = position_;
        eye.up = up_;
    } else if (pass == RenderPass::Reflection) {
        // Same direction from 12 units lower, upside down.
        eye.eye = glm::vec3(position_.x, position_.y - 12.0f, position_.z);
        eye.target = eye.eye + front_;
        eye.up = glm::vec3(up_.x, -up_.y, up_.z);
    } else if (pass == RenderPass::Shadow) {
        eye.eye = lamp;
        eye.target = lamp - glm::vec3(0.0f, 100.0f, 0.0f);
        eye.up = glm::vec3(0.0f, 0.0f, 1.0f);
    } else {
        // The map: straight down from high above the island.
        eye.eye = glm::vec3(0.0f, 90.0f, 0.0f);
        eye.target = glm::vec3(0.0f, 89.0f, 0.0f);
        eye.up = glm::vec3(0.0f, 0.0f, 1.0f);
    }
    return eye;
}

glm::mat4 CameraRig::viewFor(std::string_view pass, const glm::vec3& lamp) const
{
    const PassEye eye = eyeFor(pass, lamp);
    return glm::lookAt(eye.eye, eye.target, eye.up);
}

} // namespace Skyhog::Game
