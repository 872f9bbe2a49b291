// The lens the scene passes are drawn with, and the culling frustum that
// covers it. The frustum is aimed with the drawn view's own right and up, so
// a tilted view (the culling view looks upward) is never sheared, and it
// starts at the drawn near plane: nothing on screen is ever culled. No OpenGL.
#pragma once
#include "game/CameraRig.h"
#include "scene/Frustum.h"

#include <glm/mat4x4.hpp>

namespace Skyhog::Game::SceneLens {

// The scene's perspective. 45 is handed to glm as radians, as it always has
// been: a vertical field of view of about 58.3 degrees.
constexpr float FieldOfView = 45.0f;
constexpr float Near = 0.1f;
constexpr float Far = 100.0f;
glm::mat4 projection(float aspect);

// The culling lens: 70 degrees (wider than the drawn 58.3), out to 250 units,
// from the drawn near plane on.
constexpr float CullingAngleDegrees = 70.0f;
constexpr float CullingFar = 250.0f;
void setCullingLens(Helper::Frustum& frustum, float aspect);

// Rebuilds the frustum's planes for the view a pass draws from.
void aimFrustum(Helper::Frustum& frustum, const PassEye& eye);

} // namespace Skyhog::Game::SceneLens
