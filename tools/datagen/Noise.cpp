#include "Noise.h"

#include "Random.h"

#include <cmath>

namespace datagen {
namespace {

// Sixteen evenly spread unit directions for the 2D lattice gradients.
struct Gradients2 {
    float x[16], y[16];
    Gradients2()
    {
        for (int i = 0; i < 16; ++i) {
            x[i] = std::cos(i * 0.39269908f);
            y[i] = std::sin(i * 0.39269908f);
        }
    }
};
const Gradients2 Grad2;

// The twelve cube edge directions, four repeated to fill sixteen slots.
const float Grad3[16][3] = {{1, 1, 0},  {-1, 1, 0},  {1, -1, 0}, {-1, -1, 0}, {1, 0, 1},  {-1, 0, 1},
                            {1, 0, -1}, {-1, 0, -1}, {0, 1, 1},  {0, -1, 1},  {0, 1, -1}, {0, -1, -1},
                            {1, 1, 0},  {-1, 1, 0},  {0, -1, 1}, {0, -1, -1}};

inline float fade(float t)
{
    return t * t * t * (t * (t * 6 - 15) + 10);
}
inline float lerp(float a, float b, float t)
{
    return a + (b - a) * t;
}
inline int wrap(int i, int period)
{
    if (period <= 0) return i;
    int m = i % period;
    return m < 0 ? m + period : m;
}

} // namespace

float noise2(float x, float y, uint32_t seed, int period)
{
    float fx = std::floor(x), fy = std::floor(y);
    int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    float dx = x - fx, dy = y - fy;
    auto corner = [&](int cx, int cy, float ox, float oy) {
        uint32_t h = hash32(wrap(ix + cx, period), wrap(iy + cy, period), 0, seed) & 15u;
        return Grad2.x[h] * ox + Grad2.y[h] * oy;
    };
    float u = fade(dx), v = fade(dy);
    float a = lerp(corner(0, 0, dx, dy), corner(1, 0, dx - 1, dy), u);
    float b = lerp(corner(0, 1, dx, dy - 1), corner(1, 1, dx - 1, dy - 1), u);
    return 1.41f * lerp(a, b, v);
}

float fbm2(float x, float y, uint32_t seed, int octaves, int period, float gain)
{
    float sum = 0, amp = 1, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amp * noise2(x, y, seed + 977u * i, period);
        norm += amp;
        amp *= gain;
        x *= 2;
        y *= 2;
        period *= 2;
    }
    return sum / norm;
}

float noise3(glm::vec3 p, uint32_t seed)
{
    float fx = std::floor(p.x), fy = std::floor(p.y), fz = std::floor(p.z);
    int ix = static_cast<int>(fx), iy = static_cast<int>(fy), iz = static_cast<int>(fz);
    float dx = p.x - fx, dy = p.y - fy, dz = p.z - fz;
    auto corner = [&](int cx, int cy, int cz) {
        const float* g = Grad3[hash32(ix + cx, iy + cy, iz + cz, seed) & 15u];
        return g[0] * (dx - cx) + g[1] * (dy - cy) + g[2] * (dz - cz);
    };
    float u = fade(dx), v = fade(dy), w = fade(dz);
    float x00 = lerp(corner(0, 0, 0), corner(1, 0, 0), u);
    float x10 = lerp(corner(0, 1, 0), corner(1, 1, 0), u);
    float x01 = lerp(corner(0, 0, 1), corner(1, 0, 1), u);
    float x11 = lerp(corner(0, 1, 1), corner(1, 1, 1), u);
    return lerp(lerp(x00, x10, v), lerp(x01, x11, v), w);
}

float fbm3(glm::vec3 p, uint32_t seed, int octaves, float gain)
{
    float sum = 0, amp = 1, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amp * noise3(p, seed + 977u * i);
        norm += amp;
        amp *= gain;
        p *= 2.0f;
    }
    return sum / norm;
}

} // namespace datagen
