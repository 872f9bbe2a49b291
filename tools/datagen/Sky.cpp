#include "Sky.h"

#include "Image.h"
#include "Paint.h"

#include <cmath>

#include <glm/geometric.hpp>

namespace datagen {

const SkyFace SkyFaces[6] = {
    {"right.jpg", {1, 0, 0}},   {"left.jpg", {-1, 0, 0}}, {"top.jpg", {0, 1, 0}},
    {"bottom.jpg", {0, -1, 0}}, {"back.jpg", {0, 0, 1}},  {"front.jpg", {0, 0, -1}},
};

glm::vec3 skyColour(glm::vec3 dir)
{
    glm::vec3 d = glm::normalize(dir);
    const glm::vec3 skyHaze = rgb(206, 226, 242), zenith = rgb(40, 96, 196);
    const glm::vec3 seaHaze = rgb(120, 160, 180), deepSea = rgb(14, 56, 84);
    float e = d.y;
    glm::vec3 sky = mixColour(skyHaze, zenith, std::pow(std::max(e, 0.0f), 0.55f));
    // Clouds on a flat layer overhead: the projection shrinks them towards the
    // horizon, where they also fade into the haze.
    glm::vec2 layer = glm::vec2(d.x, d.z) / (std::max(e, 0.0f) + 0.18f);
    // Six octaves: the finest one still spans a few pixels of a 512-pixel face.
    float n = fbm2(layer.x * 1.3f + 7.1f, layer.y * 1.3f - 3.4f, 5u, 6);
    float cover = smoothstep(0.02f, 0.38f, n) * smoothstep(0.0f, 0.2f, e);
    float shade = smoothstep(0.1f, 0.6f, fbm2(layer.x * 2.6f, layer.y * 2.6f, 6u, 3));
    glm::vec3 cloud = mixColour(rgb(252, 252, 255), rgb(196, 206, 224), 0.6f * shade);
    sky = mixColour(sky, cloud, 0.9f * cover);
    glm::vec3 sea = mixColour(seaHaze, deepSea, std::pow(std::max(-e, 0.0f), 0.4f));
    // A soft blend across the horizon line.
    return mixColour(sea, sky, smoothstep(-0.015f, 0.015f, e));
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
        // 512 pixels a side keep the clouds sharp on a wide window.
        Image img(512, 512);
        // paintUv hands out (s, t) with t = 0 on FreeImage's scanline 0, the row
        // the game uploads first, which is exactly the cube map's t.
        img.paintUv({}, [&](glm::vec2, glm::vec2 st) { return skyColour(cubeFaceDirection(face, st)); });
        img.saveJpeg(root + "/Models/Skybox/" + SkyFaces[face].file, 92);
    }
}

} // namespace datagen
