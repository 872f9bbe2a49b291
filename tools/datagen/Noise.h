// Gradient noise for painting textures and shaping terrain.
#pragma once
#include <cstdint>
#include <glm/vec3.hpp>

namespace datagen {

// 2D gradient noise in about [-1, 1]. With period > 0 the lattice wraps every
// `period` units in both axes, so a texture sampled over one period tiles.
float noise2(float x, float y, uint32_t seed, int period = 0);
// Sum of `octaves` layers, each twice the frequency and `gain` times the
// amplitude of the one before, normalised back to about [-1, 1].
float fbm2(float x, float y, uint32_t seed, int octaves, int period = 0, float gain = 0.5f);

float noise3(glm::vec3 p, uint32_t seed);
float fbm3(glm::vec3 p, uint32_t seed, int octaves, float gain = 0.5f);

inline float smoothstep(float e0, float e1, float x)
{
    float t = (x - e0) / (e1 - e0);
    t = t < 0 ? 0 : (t > 1 ? 1 : t);
    return t * t * (3 - 2 * t);
}
inline float clamp01(float x)
{
    return x < 0 ? 0 : (x > 1 ? 1 : x);
}

} // namespace datagen
