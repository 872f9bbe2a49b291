#include "Sky.h"

#include "Image.h"
#include "Paint.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include <glm/geometric.hpp>

namespace datagen {

const SkyFace SkyFaces[6] = {
    {"right.jpg", {1, 0, 0}},   {"left.jpg", {-1, 0, 0}}, {"top.jpg", {0, 1, 0}},
    {"bottom.jpg", {0, -1, 0}}, {"back.jpg", {0, 0, 1}},  {"front.jpg", {0, 0, -1}},
};

namespace {

constexpr float Pi = 3.14159265f;

// Far land on the horizon: a low hazy silhouette standing on the horizon line.
struct FarLand {
    float azimuth; // radians, from +x towards +z
    float halfWidth; // radians
    float height;  // the top's height as a slope above the horizon (about radians)
    uint32_t seed;
};
// Spread round the compass so most headings show a little land; none so
// large that the sea feels enclosed.
const FarLand Lands[] = {
    {1.95f, 0.16f, 0.028f, 401u},  {2.35f, 0.05f, 0.014f, 402u}, {-1.25f, 0.22f, 0.022f, 403u},
    {-1.85f, 0.07f, 0.034f, 404u}, {0.35f, 0.12f, 0.018f, 405u}, {3.3f, 0.18f, 0.026f, 406u},
    {-0.6f, 0.04f, 0.01f, 407u},
};

// How far the far land reaches above the horizon in this direction (0 where there is none).
float farLandTop(float azimuth)
{
    float top = 0;
    for (const FarLand& land : Lands) {
        float off = std::remainder(azimuth - land.azimuth, 2 * Pi) / land.halfWidth;
        if (std::fabs(off) >= 1) continue;
        // A rounded ridge with gentle shoulders, roughened by noise along its length:
        // hills on a long island, or a headland and its point.
        float shape = std::pow(1 - off * off, 0.8f) * (0.45f + 0.55f * std::exp(-4 * (off - 0.25f) * (off - 0.25f)));
        float rough = 0.8f + 0.3f * fbm2(azimuth * 25, 0.5f, land.seed, 3);
        top = std::max(top, land.height * shape * rough);
    }
    return top;
}

} // namespace

glm::vec3 skyColour(glm::vec3 dir)
{
    glm::vec3 d = glm::normalize(dir);
    const glm::vec3 zenith = rgb(40, 96, 196);
    float e = d.y;
    // From the haze on the horizon, where the far sea fades out, up to deep blue.
    // It leaves the haze gently, so the horizon shows no crease.
    glm::vec3 sky = mixColour(HazeColour, zenith, std::pow(std::max(e, 0.0f), 0.55f) * smoothstep(-0.05f, 0.15f, e));
    // Clouds on a flat layer overhead: the projection shrinks them towards the
    // horizon, where they also fade into the haze.
    glm::vec2 layer = glm::vec2(d.x, d.z) / (std::max(e, 0.0f) + 0.18f);
    // Six octaves: the finest one still spans a few pixels of a face.
    float n = fbm2(layer.x * 1.3f + 7.1f, layer.y * 1.3f - 3.4f, 5u, 6);
    float cover = smoothstep(0.02f, 0.38f, n) * smoothstep(0.0f, 0.2f, e);
    float shade = smoothstep(0.1f, 0.6f, fbm2(layer.x * 2.6f, layer.y * 2.6f, 6u, 3));
    glm::vec3 cloud = mixColour(rgb(252, 252, 255), rgb(196, 206, 224), 0.6f * shade);
    sky = mixColour(sky, cloud, 0.9f * cover);

    // Land far off: blue-grey with distance, its foot lost in the haze.
    float horizontal = std::max(glm::length(glm::vec2(d.x, d.z)), 1e-6f);
    float slope = e / horizontal;
    float top = farLandTop(std::atan2(d.z, d.x));
    if (top > 0 && slope > -0.002f) {
        // A texel and a bit of soft edge at the top (a texel is about 0.004 here).
        float inside = 1 - smoothstep(top - 0.004f, top + 0.001f, slope);
        float up = clamp01(slope / top);
        glm::vec3 land = mixColour(rgb(84, 112, 116), rgb(112, 138, 140), up);
        land = mixColour(land, HazeColour, 0.5f - 0.35f * up);
        land = mixColour(land, HazeColour, 1 - smoothstep(0.0f, 0.004f, slope));
        sky = mixColour(sky, land, inside);
    }

    // Under the horizon only haze can be seen past the sea's fogged far edge;
    // further down, where the sea always covers the sky in the main view and
    // only the water's mirror sees it, it turns the blue of the clear colour.
    glm::vec3 sea = mixColour(HazeColour, BelowColour, smoothstep(-0.11f, -0.14f, e));
    return e >= 0 ? sky : sea;
}

glm::vec3 cubeFaceDirection(int face, glm::vec2 st)
{
    float sc = 2 * st.x - 1, tc = 2 * st.y - 1;
    switch (face) {
    case 0: return {1, -tc, -sc};
    case 1: return {-1, -tc, sc};
    case 2: return {sc, 1, tc};
    case 3: return {sc, -1, -tc};
    case 4: return {sc, -tc, 1};
    default: return {-sc, -tc, -1};
    }
}

void writeSkybox(const std::string& root)
{
    for (int face = 0; face < 6; ++face) {
        // 512 pixels a side keep the clouds and the far land sharp enough on a wide window.
        Image img(FaceSize, FaceSize);
        // paintUv hands out (s, t) with t = 0 on FreeImage's scanline 0, the row
        // the game uploads first, which is exactly the cube map's t.
        img.paintUv({}, [&](glm::vec2, glm::vec2 st) { return skyColour(cubeFaceDirection(face, st)); });
        img.saveJpeg(root + "/Models/Skybox/" + SkyFaces[face].file, 92);
    }
}

} // namespace datagen
