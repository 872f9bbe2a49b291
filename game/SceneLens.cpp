#include "game/SceneLens.h"

#include <glm/geometric.hpp>
#include <glm/gtc/matrix_transform.hpp>

namespace Skyhog::Game::SceneLens {

glm::mat4 projection(float aspect)
{
    return glm::perspective(FieldOfView, aspect, Near, Far);
}

void setCullingLens(Helper::Frustum& frustum, float aspect)
{
    frustum.setLens(CullingAngleDegrees, aspect, Near, CullingFar);
}

void aimFrustum(Helper::Frustum& frustum, const PassEye& eye)
{
    // lookAt keeps the line of sight and re-derives up from it; the pass's
    // up is only a hint, (0, 1, 0) even when the view looks up or down.
    // The frustum takes its edges as given, so it gets the view's true axes.
    const glm::vec3 right = eye.right();
    const glm::vec3 up = glm::cross(right, glm::normalize(eye.target - eye.eye));
    frustum.update(eye.eye, eye.target, up, right);
}

} // namespace Skyhog::Game::SceneLens
