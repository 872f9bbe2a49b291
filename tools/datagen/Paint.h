// Colour helpers shared by the procedural textures.
#pragma once
#include <cmath>
#include <cstdint>

#include <glm/geometric.hpp>
#include <glm/vec2.hpp>
#include <glm/vec3.hpp>

#include "Noise.h"
#include "Random.h"

namespace datagen {

inline glm::vec3 rgb(int r, int g, int b)
{
    return glm::vec3(r, g, b) / 255.0f;
}
inline glm::vec3 mixColour(glm::vec3 a, glm::vec3 b, float t)
{
    return a + (b - a) * t;
}

// Brightness variation from layered noise; with a period the result tiles
// when p runs over [0, period).
inline glm::vec3 vary(glm::vec3 colour, glm::vec2 p, uint32_t seed, float amount, int period = 0, int octaves = 4)
{
    return colour * (1.0f + amount * fbm2(p.x, p.y, seed, octaves, period));
}

// Per-pixel grain in [-1, 1], stable for a given pixel and seed.
inline float grain(int x, int y, uint32_t seed)
{
    return static_cast<float>(hash32(x, y, 0, seed) & 0xFFFFu) / 32767.5f - 1.0f;
}

} // namespace datagen
