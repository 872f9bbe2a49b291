// The sea floor, the island, the water plane, their pictures, and the markers
// that say where the people stand.
#include "IslandLayout.h"
#include "Mesh.h"
#include "Models.h"
#include "Paint.h"

#include <cmath>
#include <vector>

namespace datagen {
namespace {

constexpr float Pi = 3.14159265f;
using namespace layout;

// Tileable pictures: every noise here wraps over the picture's width.
Image paintSand()
{
    Image img(256, 256);
    img.paintUv({}, [](glm::vec2 l, glm::vec2) {
        glm::vec3 c = vary(rgb(226, 200, 150), l * 4.0f, 41u, 0.07f, 4, 5);
        // Wind ripples: a wavy stripe pattern with a whole number of waves across.
        float warp = 0.35f * fbm2(l.x * 4, l.y * 4, 42u, 2, 4);
        float ripple = std::sin(2 * Pi * (6 * l.y + 1 * l.x + warp));
        c *= 1.0f + 0.035f * ripple;
        int px = static_cast<int>(l.x * 256), py = static_cast<int>(l.y * 256);
        c *= 1.0f + 0.06f * grain(px, py, 43u);
        // Scattered darker and lighter grains.
        uint32_t h = hash32(px, py, 0, 44u);
        if ((h & 511u) == 0) c *= 0.7f;
        if ((h & 511u) == 1) c = mixColour(c, glm::vec3(1), 0.5f);
        return c;
    });
    return img;
}

Image paintSeabed()
{
    Image img(256, 256);
    Rng rng(0xB0771u);
    struct Rock {
        glm::vec2 centre, radii;
        float shade;
    };
    std::vector<Rock> rocks;
    for (int i = 0; i < 12; ++i)
        rocks.push_back({{rng.range(0, 1), rng.range(0, 1)},
                         {rng.range(0.025f, 0.07f), rng.range(0.02f, 0.05f)},
                         rng.range(0.75f, 1.1f)});
    img.paintUv({}, [&](glm::vec2 l, glm::vec2) {
        glm::vec3 c = vary(rgb(128, 118, 92), l * 4.0f, 45u, 0.1f, 4, 5);
        c *= 1.0f + 0.05f * grain(static_cast<int>(l.x * 256), static_cast<int>(l.y * 256), 46u);
        for (const Rock& r : rocks) {
            // Distance on the torus, so rocks crossing an edge come back on the other side.
            glm::vec2 d = l - r.centre;
            d -= glm::round(d);
            float wobble = 1 + 0.2f * noise2(l.x * 24, l.y * 24, 47u, 24);
            float k = glm::length(d / r.radii) * wobble;
            if (k < 1.15f) {
                // Soft-edged and close to the sand's own shade: the floor repeats
                // fifteen times across the sea and shows through clear water, so
                // dark rocks would read as tiled spots.
                float cover = 0.4f * (1 - smoothstep(0.3f, 1.1f, k));
                // Lit from the upper left, dark towards the lower right.
                float light = 0.85f + 0.35f * (-d.x + d.y) / (r.radii.x + r.radii.y);
                glm::vec3 rock = vary(rgb(102, 98, 84) * r.shade * light, l * 20.0f, 48u, 0.12f, 20, 3);
                c = mixColour(c, rock, cover);
            }
        }
        return c;
    });
    return img;
}

// The water picture is read across 90 world units: besides tinting the sea a
// little it says where wind roughens it (green above its mean) and where it
// lies calm (below), in broad patches and streaks. Its mean colour stays
// rgb(22, 92, 118), which the stream's shader assumes.
Image paintWater()
{
    Image img(256, 256);
    img.paintUv({}, [](glm::vec2 l, glm::vec2) {
        float patches = fbm2(l.x * 3, l.y * 3, 51u, 4, 3);
        float streaks = fbm2(l.x * 4 + 0.6f * patches, l.y * 12, 52u, 3, 4);
        float rough = std::tanh(1.6f * patches + 0.8f * streaks);
        glm::vec3 c = rgb(22, 92, 118) + glm::vec3(0.02f, 0.06f, 0.05f) * rough;
        return c * (1.0f + 0.03f * grain(static_cast<int>(l.x * 256), static_cast<int>(l.y * 256), 53u));
    });
    return img;
}

// Distortion maps: red and green hold the slope along x and y of a tileable
// height field, around one half.
// The sea's: rounded ripples with sharp crests (folded noise), two sizes, so
// the lamp's glints on them are crisp lines and points, not soft blobs.
float rippleHeight(glm::vec2 l)
{
    float broad = fbm2(l.x * 4, l.y * 4, 61u, 3, 4);
    float crests = 1 - std::fabs(fbm2(l.x * 8 + 0.5f * broad, l.y * 8, 62u, 2, 8));
    return 0.6f * broad / 4 + 0.4f * crests * crests / 8;
}

Image paintRipples()
{
    const int size = 256;
    const float e = 0.5f / size;
    Image img(size, size);
    img.paintUv({}, [&](glm::vec2 l, glm::vec2) {
        float sx = (rippleHeight(l + glm::vec2(e, 0)) - rippleHeight(l - glm::vec2(e, 0))) / (2 * e);
        float sy = (rippleHeight(l + glm::vec2(0, e)) - rippleHeight(l - glm::vec2(0, e))) / (2 * e);
        return glm::vec3(0.5f + 0.45f * std::tanh(1.2f * sx), 0.5f + 0.45f * std::tanh(1.2f * sy), 0.0f);
    });
    return img;
}

// Sand relief for Island.frag: red and green hold the slope along x and y of
// a height field of wind ripples and fine grain, around one half, so the
// shader can tilt the sand's normal with one lookup. Steep lee sides and
// rounded crests read as ripples rather than stripes.
float sandHeight(glm::vec2 l)
{
    float warp = 0.5f * fbm2(l.x * 2, l.y * 2, 63u, 3, 2);
    // Whole numbers of waves across, so the field tiles; their height wanders.
    float phase = 5 * l.y + 1 * l.x + warp;
    float f = phase - std::floor(phase);
    float ripple = f < 0.7f ? smoothstep(0.0f, 0.7f, f) : 1 - smoothstep(0.7f, 1.0f, f);
    ripple *= 0.7f + 0.3f * fbm2(l.x * 4, l.y * 4, 65u, 2, 4);
    float grainy = fbm2(l.x * 32, l.y * 32, 64u, 2, 32);
    return 0.05f * ripple + 0.006f * grainy;
}

Image paintSandRelief()
{
    const int size = 256;
    const float e = 0.5f / size;
    Image img(size, size);
    img.paintUv({}, [&](glm::vec2 l, glm::vec2) {
        // Central differences over one pixel, scaled so most slopes fit the range.
        float sx = (sandHeight(l + glm::vec2(e, 0)) - sandHeight(l - glm::vec2(e, 0))) / (2 * e);
        float sy = (sandHeight(l + glm::vec2(0, e)) - sandHeight(l - glm::vec2(0, e))) / (2 * e);
        return glm::vec3(0.5f + 0.45f * std::tanh(sx), 0.5f + 0.45f * std::tanh(sy), 0.0f);
    });
    return img;
}

Image paintMarker()
{
    Image img(64, 64);
    img.paintUv({}, [](glm::vec2 l, glm::vec2) {
        float r = glm::length(l - 0.5f);
        return (static_cast<int>(r * 8) % 2) ? rgb(250, 250, 250) : rgb(240, 110, 30);
    });
    return img;
}

glm::vec3 fileAt(float x, float y, float z)
{
    return worldToScenery({x, y, z});
}

Mesh seaGround()
{
    const float h = SeaGroundHalfSize;
    // v runs towards -z so the grid's front faces up.
    Mesh m = surface(
        40, 40,
        [&](float u, float v) {
            float x = -h + 2 * h * u, z = h - 2 * h * v;
            return fileAt(x, seaGroundHeight(x, z), z);
        },
        UvRect{{0, 0}, {15, 15}});
    m.computeNormals(false);
    return m;
}

Mesh island()
{
    const int segments = 96, rings = 20;
    // The spokes crowd together where the coast bends sharply (the points and
    // bays), so a thin spit keeps its shape: spacing goes with the inverse
    // square root of the radius's curvature, as straight pieces err with
    // the square of their length times the curvature.
    const int fine = 2048;
    std::vector<float> spacing(fine + 1, 0.0f);
    const float h = 2 * Pi / fine;
    for (int j = 0; j < fine; ++j) {
        const float a = h * (j + 0.5f);
        const float bend = std::fabs(coastRadius(a + h) - 2 * coastRadius(a) + coastRadius(a - h)) / (h * h);
        spacing[j + 1] = spacing[j] + 1.0f + 0.6f * std::sqrt(bend / IslandRadius);
    }
    std::vector<float> angles;
    for (int i = 0, j = 0; i < segments; ++i) {
        const float want = spacing[fine] * i / segments;
        while (spacing[j + 1] < want) ++j;
        angles.push_back(h * (j + (want - spacing[j]) / (spacing[j + 1] - spacing[j])));
    }
    Mesh m;
    auto add = [&](float x, float z) { return m.addVertex(fileAt(x, islandHeight(x, z), z), glm::vec2(x, z) / 5.0f); };
    uint32_t centre = add(IslandCentre.x, IslandCentre.y);
    for (int k = 1; k <= rings; ++k) {
        // Rings crowd together towards the shore, where the shape changes most.
        float s = IslandReach * std::pow(static_cast<float>(k) / rings, 0.85f);
        for (int i = 0; i < segments; ++i) {
            float angle = angles[static_cast<size_t>(i)];
            float r = coastRadius(angle) * s;
            add(IslandCentre.x + r * std::cos(angle), IslandCentre.y + r * std::sin(angle));
        }
    }
    auto at = [&](int k, int i) { return static_cast<uint32_t>(1 + (k - 1) * segments + (i % segments)); };
    for (int i = 0; i < segments; ++i) m.addTriangle(centre, at(1, i + 1), at(1, i));
    for (int k = 1; k < rings; ++k)
        for (int i = 0; i < segments; ++i) m.addQuad(at(k, i), at(k, i + 1), at(k + 1, i + 1), at(k + 1, i));
    m.computeNormals(false);
    return m;
}

// One square round the world's origin; Water.vert centres it under the eye.
Mesh waterPlane()
{
    Mesh m;
    const float s = WaterHalfSize, y = WaterFileY, uv = 2 * s * WaterFileScale / 8;
    uint32_t a = m.addVertex({-s, y, s}, {0, 0});
    uint32_t b = m.addVertex({s, y, s}, {uv, 0});
    uint32_t c = m.addVertex({s, y, -s}, {uv, uv});
    uint32_t d = m.addVertex({-s, y, -s}, {0, uv});
    m.addQuad(a, b, c, d);
    m.computeNormals(false);
    return m;
}

} // namespace

void writeGround(const std::string& root)
{
    const std::string dir = modelFile(root, game::IslandFile).dir;
    paintSand().saveJpeg(dir + "/sand.jpg");
    paintSeabed().saveJpeg(dir + "/seabed.jpg");
    paintWater().saveJpeg(dir + "/water.jpg");
    paintRipples().saveJpeg(dir + "/water_dudv.jpg", 95);
    paintSandRelief().saveJpeg(dir + "/dudv_sand.jpg");
    writeMtl(dir, "seeGround.mtl", {{"seabed", "seabed.jpg"}});
    writeObj(dir, modelFile(root, game::SeaGroundFile).name, "seeGround.mtl", {{"sea_ground", "seabed", seaGround()}});
    writeMtl(dir, "islandOnly.mtl", {{"sand", "sand.jpg"}});
    writeObj(dir, modelFile(root, game::IslandFile).name, "islandOnly.mtl", {{"island", "sand", island()}});
    writeMtl(dir, "water.mtl", {{"water", "water.jpg"}});
    writeObj(dir, modelFile(root, game::WaterFile).name, "water.mtl", {{"water", "water", waterPlane()}});
}

void writeMarkers(const std::string& root)
{
    const std::string dir = modelFile(root, game::markerFile(1)).dir;
    paintMarker().saveJpeg(dir + "/marker.jpg");
    writeMtl(dir, "marker.mtl", {{"marker", "marker.jpg"}});
    for (int i = 0; i < PeopleCount; ++i) {
        // A small cube whose lowest corner is the spot on the sand.
        glm::vec3 spot = worldToScenery(personWorldPosition(i));
        std::string name = "position" + std::to_string(i + 1);
        writeObj(dir, modelFile(root, game::markerFile(i + 1)).name, "marker.mtl",
                 {{name, "marker", box(spot, spot + 0.2f, {})}});
    }
}

} // namespace datagen
