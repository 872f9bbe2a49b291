// The sky around the world, shared by the six sky box faces.
#pragma once
#include <string>

#include <glm/vec2.hpp>
#include <glm/vec3.hpp>

namespace datagen {

// The haze on the horizon, which the far sea and the far models fade into.
// The shaders' SKY_COLOR holds the same numbers.
inline const glm::vec3 HazeColour{0.64f, 0.8f, 0.94f};
// The game's clear colour, which shows where the sky box is not drawn (well
// below the horizon, see SkyBox.vert).
inline const glm::vec3 BelowColour{0.52f, 0.8f, 1.0f};
inline constexpr int FaceSize = 512; // pixels a side

// Colour seen looking along the unit direction `dir` (+y up): haze at the
// horizon, deep blue overhead, soft clouds, far land standing on the horizon,
// haze just below it and deep sea further down.
glm::vec3 skyColour(glm::vec3 dir);

struct SkyFace {
    const char* file; // under Models/Skybox
    glm::vec3 axis;   // the cube map face's major axis
};
// right (+X), left (-X), top (+Y), bottom (-Y), back (+Z), front (-Z).
extern const SkyFace SkyFaces[6];

// Direction through the point (s, t) in [0,1]^2 of cube map face `face`,
// following OpenGL's face layout (t = 0 is the first row uploaded).
glm::vec3 cubeFaceDirection(int face, glm::vec2 st);

void writeSkybox(const std::string& root);

} // namespace datagen
