// The palms on the island and the boat off its shore.
#include "IslandLayout.h"
#include "Mesh.h"
#include "Models.h"
#include "Paint.h"

#include <algorithm>
#include <cmath>

#include <glm/geometric.hpp>
#include <glm/gtc/matrix_transform.hpp>

namespace datagen {
namespace {

constexpr float Pi = 3.14159265f;
using namespace layout;

// ---------------------------------------------------------------- palms --
// One picture for trunk, leaves and coconuts, so each palm is a single mesh
// whose bounding box holds the whole tree. The leaves come in three shades
// side by side: fresh green, a sunnier yellow-green, and the dry olive-brown
// of the old fronds that hang lowest.
const UvRect Bark{{0.0f, 0.0f}, {0.22f, 1.0f}};
const UvRect Fronds[3] = {
    {{0.25f, 0.0f}, {0.49f, 0.76f}}, {{0.51f, 0.0f}, {0.75f, 0.76f}}, {{0.77f, 0.0f}, {1.0f, 0.76f}}};
const UvRect DryFrond = Fronds[2];
const UvRect Coconut{{0.25f, 0.8f}, {0.49f, 1.0f}};

struct LeafShade {
    glm::vec3 stem, tip, rib;
};

Image paintPalmTexture()
{
    Image img(256, 256, rgb(90, 110, 50));
    img.paintUv(Bark, [](glm::vec2 l, glm::vec2) {
        // Ring scars up the trunk, slightly wavy, over grey-brown bark.
        glm::vec3 c = vary(rgb(140, 112, 80), l * glm::vec2(3, 30), 81u, 0.1f);
        float ring = std::fmod(l.y * 16.0f + 0.08f * std::sin(l.x * 2 * Pi), 1.0f);
        c *= 0.78f + 0.22f * smoothstep(0.0f, 0.35f, ring);
        c *= 1.0f + 0.08f * grain(static_cast<int>(l.x * 64), static_cast<int>(l.y * 256), 82u);
        return c;
    });
    const LeafShade shades[3] = {{rgb(48, 118, 40), rgb(112, 160, 56), rgb(170, 170, 90)},
                                 {rgb(88, 136, 34), rgb(178, 182, 64), rgb(200, 186, 100)},
                                 {rgb(112, 104, 52), rgb(168, 130, 70), rgb(196, 170, 110)}};
    for (int k = 0; k < 3; ++k) {
        const LeafShade& shade = shades[k];
        img.paintUv(Fronds[k], [&](glm::vec2 l, glm::vec2) {
            // l.x across the leaf with the midrib at 0.5, l.y from the stem to the tip.
            float across = std::fabs(l.x - 0.5f) * 2;
            glm::vec3 c = mixColour(shade.stem, shade.tip, 0.5f * l.y + 0.3f * across);
            c = vary(c, l * glm::vec2(4, 8), 83u + static_cast<uint32_t>(k), 0.08f);
            // Leaflets angle from the midrib towards the tip; dark gaps between them.
            float leaflet = std::fmod(across * 3.0f - l.y * 22.0f + 100.0f, 1.0f);
            c *= 0.72f + 0.28f * smoothstep(0.0f, 0.18f, leaflet) * (1 - smoothstep(0.85f, 1.0f, leaflet));
            float rib = 1 - smoothstep(0.0f, 0.05f, across);
            return mixColour(c, shade.rib, 0.7f * rib);
        });
    }
    img.paintUv(Coconut, [](glm::vec2 l, glm::vec2) { return vary(rgb(112, 84, 40), l * 6.0f, 84u, 0.12f); });
    return img;
}

// How far the underside of a leaf or a sail lies behind its top side, in
// file units: a few depth steps at the distances the camera sees them from.
constexpr float SheetApart = 0.05f;

// One frond from the crown along `dir`: it arches up at `rise` and droops
// until its tip ends `tipDrop` below the crown. The leaflets hang down from
// the midrib on both sides, and every other row of the edge is drawn in, so
// the outline is cut into leaflets.
Mesh frond(glm::vec3 crown, glm::vec3 dir, float length, float rise, float tipDrop, float width, const UvRect& shade)
{
    const glm::vec3 side = glm::cross(dir, glm::vec3(0, 1, 0));
    const float droop = std::sin(rise) + tipDrop / length;
    Mesh leaf = surface(
        2, 4,
        [&](float u, float v) {
            glm::vec3 spine = crown + dir * (length * std::cos(rise) * v * (1 - 0.25f * v * v)) +
                glm::vec3(0, length * (std::sin(rise) * v - droop * v * v), 0);
            int row = static_cast<int>(std::lround(v * 4));
            float w = v >= 1 ? 0.0f : width * std::sin(Pi * std::pow(v, 0.7f)) * (row % 2 == 0 ? 0.55f : 1.0f);
            float a = 2 * u - 1;
            // Leaflets sweep towards the tip and hang lower the further out they reach.
            return spine + side * (w * a) + dir * (0.35f * w * std::fabs(a)) - glm::vec3(0, 0.6f * w * std::fabs(a), 0);
        },
        shade);
    leaf.computeNormals(true);
    leaf.addBackFaces(SheetApart);
    return leaf;
}

// A palm to the outline its spot plans (height, lean, reach and hang of the
// crown); the rest comes from its seed: how the trunk curves on the way up,
// how thick it is, how many fronds and how they arch, their shade, a dry
// frond or two, and the coconuts. Sizes below are in world units, times 5 for
// the file.
Mesh palm(const PalmSpot& spot)
{
    Rng rng(spot.seed);
    const glm::vec3 base = worldToScenery({spot.xz.x, islandHeight(spot.xz.x, spot.xz.y) - 0.15f, spot.xz.y});
    const glm::vec3 lean = 5.0f * glm::vec3(spot.lean.x, 0, spot.lean.y);
    const glm::vec3 across =
        glm::length(lean) > 0.05f ? glm::normalize(glm::cross(lean, glm::vec3(0, 1, 0))) : glm::vec3(1, 0, 0);
    const float trunkHeight = 5 * (spot.height + 0.15f);
    // Positive: out from the foot, then turning upright below the crown;
    // negative: upright from the foot, then leaning more towards the top.
    const float bend = rng.range(-0.7f, 0.9f);
    const float bow = 5 * rng.range(-0.18f, 0.18f); // sideways, the ends stay put
    const float thick = 5 * rng.range(0.8f, 1.2f);
    auto trunkAt = [&](float t) {
        return base + glm::vec3(0, trunkHeight * t, 0) + lean * (t + bend * t * (1 - t)) +
            across * (bow * std::sin(Pi * t));
    };
    Mesh tree = tube(
        trunkAt, [&](float t) { return thick * (0.075f + 0.04f * (1 - t) + 0.06f * std::exp(-t * 14)); }, 6, 6, Bark,
        false);

    const glm::vec3 crown = trunkAt(1.0f);
    const float reach = 5 * spot.reach, hang = 5 * spot.hang;
    // Four to eight green fronds and up to two dry ones, nine at most.
    const int fronds = 4 + rng.below(5);
    const int dry = std::min(rng.below(3) == 0 ? 0 : 1 + rng.below(2), 9 - fronds);
    const float turn = rng.range(0.0f, 2 * Pi);
    const float width = 5 * rng.range(0.22f, 0.38f);
    const float upright = rng.range(0.0f, 1.0f); // young crowns stand up, old ones spread
    const UvRect& shade = Fronds[rng.uniform() < 0.6 ? 0 : 1];
    // Leaves reach out about three quarters of their length times the cosine of their rise.
    auto lengthFor = [&](float rise, float share) {
        return std::min(5 * 2.4f, share * reach / (0.75f * std::cos(rise)));
    };
    for (int i = 0; i < fronds; ++i) {
        const float azimuth = turn + 2 * Pi * i / fronds + rng.range(-0.3f, 0.3f);
        const bool upper = i % 2 == 0;
        const float rise = upper ? rng.range(0.55f, 0.8f) + 0.25f * upright : rng.range(0.25f, 0.55f) + 0.2f * upright;
        const float drop = upper ? hang * rng.range(0.0f, 0.5f) : hang * rng.range(0.5f, 0.85f);
        const float length = lengthFor(rise, rng.range(0.8f, 1.0f));
        tree.append(frond(crown, glm::vec3(std::cos(azimuth), 0, std::sin(azimuth)), length, rise, drop,
                          width * rng.range(0.85f, 1.1f), shade));
    }
    for (int i = 0; i < dry; ++i) {
        // Old fronds hang steeply between the green ones, right down to the planned hang.
        const float azimuth = turn + 2 * Pi * (i + 0.5f) / fronds + rng.range(-0.2f, 0.2f);
        const float rise = rng.range(0.05f, 0.25f);
        const float length = lengthFor(rise, rng.range(0.55f, 0.7f));
        tree.append(frond(crown, glm::vec3(std::cos(azimuth), 0, std::sin(azimuth)), length, rise, hang, width * 0.75f,
                          DryFrond));
    }
    const int coconuts = rng.below(4);
    for (int i = 0; i < coconuts; ++i) {
        float a = turn + 2 * Pi * i / 3 + 0.5f;
        glm::vec3 at = crown + glm::vec3(0.6f * std::cos(a), -0.6f - 0.15f * i, 0.6f * std::sin(a));
        tree.append(ellipsoid(at, glm::vec3(rng.range(0.45f, 0.6f)), 5, 3, Coconut));
    }
    return tree;
}

// ----------------------------------------------------------------- boat --
const UvRect Hull{{0.0f, 0.5f}, {1.0f, 1.0f}};
const UvRect Deck{{0.0f, 0.27f}, {0.48f, 0.48f}};
const UvRect Wood{{0.52f, 0.27f}, {0.73f, 0.48f}};
const UvRect Pennant{{0.77f, 0.27f}, {0.98f, 0.48f}};
const UvRect Sail{{0.0f, 0.0f}, {1.0f, 0.23f}};

// Hull shape in file units: z from stern (t = 0) to bow (t = 1), waterline at y = 0.
constexpr float HullLength = 26.0f;
float hullHalfBeam(float t)
{
    return t >= 1 ? 0.0f : 4.6f * std::pow(std::sin(Pi * (0.14f + 0.86f * t)), 0.7f);
}
float hullSheer(float t)
{
    return 3.2f + 1.6f * t * t;
}
float hullDraft(float t)
{
    return 2.3f * (1 - 0.3f * t * t);
}
float hullZ(float t)
{
    return -HullLength / 2 + HullLength * t;
}
// Height fraction of the waterline on the hull side (0 keel, 1 gunwale) at midships.
constexpr float WaterlineFraction = 0.42f;

Image paintBoatTexture()
{
    Image img(256, 256, rgb(200, 190, 170));
    img.paintUv(Hull, [](glm::vec2 l, glm::vec2) {
        // l.x goes round the hull from one gunwale over the keel to the other.
        float q = std::fabs(l.x - 0.5f) * 2;
        glm::vec3 wood = vary(rgb(150, 96, 52), glm::vec2(l.x * 20, l.y * 3), 85u, 0.1f);
        float plank = std::fmod(q * 9.0f, 1.0f);
        wood *= 0.85f + 0.15f * smoothstep(0.0f, 0.12f, plank);
        glm::vec3 c = wood;
        if (q < WaterlineFraction - 0.04f) c = vary(rgb(150, 40, 36), l * 6.0f, 86u, 0.06f);
        else if (q < WaterlineFraction + 0.02f) c = rgb(238, 236, 228);
        if (q > 0.93f) c = rgb(60, 70, 110);
        return c;
    });
    img.paintUv(Deck, [](glm::vec2 l, glm::vec2) {
        glm::vec3 c = vary(rgb(196, 160, 110), glm::vec2(l.x * 3, l.y * 20), 87u, 0.08f);
        return c * (0.85f + 0.15f * smoothstep(0.0f, 0.1f, std::fmod(l.x * 8.0f, 1.0f)));
    });
    img.paintUv(Wood,
                [](glm::vec2 l, glm::vec2) { return vary(rgb(110, 76, 44), glm::vec2(l.x * 3, l.y * 20), 88u, 0.1f); });
    img.paintUv(Pennant, [](glm::vec2 l, glm::vec2) { return vary(rgb(220, 40, 40), l * 3.0f, 89u, 0.05f); });
    img.paintUv(Sail, [](glm::vec2 l, glm::vec2) {
        // Canvas with stitched panels running across the sail.
        glm::vec3 c = vary(rgb(246, 242, 230), l * glm::vec2(8, 2), 90u, 0.03f);
        float seam = std::fmod(l.y * 7.0f, 1.0f);
        c *= 1 - 0.08f * (1 - smoothstep(0.0f, 0.05f, seam));
        return c;
    });
    return img;
}

// The hull, its flat transom and the deck, in the boat's own frame.
Mesh boatHull()
{
    Mesh b;
    Mesh hull = surface(
        12, 10,
        [](float u, float t) {
            float side = u < 0.5f ? -1.0f : 1.0f;
            float q = std::fabs(2 * u - 1);
            float x = side * hullHalfBeam(t) * std::pow(std::sin(Pi / 2 * q), 0.6f);
            float y = -hullDraft(t) + (hullSheer(t) + hullDraft(t)) * q;
            return glm::vec3(x, y, hullZ(t));
        },
        Hull);
    hull.computeNormals(true);
    b.append(hull);

    // Flat transom across the stern, facing backwards.
    Mesh transom;
    uint32_t middle = transom.addVertex({0, (hullSheer(0) - hullDraft(0)) / 2, hullZ(0)}, Hull.at(0.5f, 0.0f));
    for (int i = 0; i <= 12; ++i) {
        const Vertex& v = hull.vertices[static_cast<size_t>(i)];
        transom.addVertex(v.position, v.uv);
    }
    for (uint32_t i = 1; i <= 12; ++i) transom.addTriangle(middle, i + 1, i);
    transom.addTriangle(middle, 1, 13);
    transom.computeNormals(false);
    b.append(transom);

    Mesh deck = surface(
        2, 10, [](float u, float t) { return glm::vec3(hullHalfBeam(t) * (1 - 2 * u), hullSheer(t), hullZ(t)); }, Deck);
    deck.computeNormals(false);
    b.append(deck);

    return b;
}

// Mast, boom, mainsail, jib and pennant, on the deck of boatHull().
Mesh boatRig()
{
    Mesh b;
    const float mastZ = 3.0f, mastTop = 26.0f, boomY = hullSheer(0.6f) + 2.5f, boomEnd = -10.5f;
    b.append(tube(
        [&](float t) { return glm::vec3(0, hullSheer(0.6f) - 0.5f + (mastTop - hullSheer(0.6f) + 0.5f) * t, mastZ); },
        [](float t) { return 0.38f - 0.12f * t; }, 6, 1, Wood, true));
    b.append(tube([&](float t) { return glm::vec3(0, boomY, mastZ + (boomEnd - mastZ) * t); },
                  [](float) { return 0.22f; }, 6, 1, Wood, true));
    Mesh mainSail = surface(
        4, 4,
        [&](float u, float v) {
            float y = boomY + 0.3f + (mastTop - 1.0f - boomY - 0.3f) * v;
            float z = mastZ - 0.3f + (boomEnd + 0.3f - mastZ) * u * (1 - v);
            // Wind fills the sail out to one side.
            float belly = 1.6f * std::sin(Pi * u) * std::sin(Pi * std::min(v * 1.2f, 1.0f)) * (1 - v);
            return glm::vec3(belly, y, z);
        },
        Sail);
    mainSail.computeNormals(true);
    mainSail.addBackFaces(SheetApart);
    b.append(mainSail);
    const glm::vec3 bow(0, hullSheer(1), hullZ(1) - 0.4f), head(0, mastTop - 3.0f, mastZ + 0.3f),
        clew(1.2f, hullSheer(0.6f) + 1.2f, mastZ - 3.5f);
    Mesh jib = surface(
        3, 3,
        [&](float u, float v) {
            glm::vec3 luff = bow + (head - bow) * v;
            glm::vec3 p = luff + (clew - luff) * (u * (1 - v));
            p.x += 1.0f * std::sin(Pi * u) * (1 - v);
            return p;
        },
        Sail);
    jib.computeNormals(true);
    jib.addBackFaces(SheetApart);
    b.append(jib);
    Mesh pennant;
    uint32_t p0 = pennant.addVertex({0, mastTop, mastZ}, Pennant.at(0, 1));
    uint32_t p1 = pennant.addVertex({0, mastTop - 1.2f, mastZ}, Pennant.at(0, 0));
    uint32_t p2 = pennant.addVertex({0.6f, mastTop - 0.7f, mastZ - 3.0f}, Pennant.at(1, 0.5f));
    pennant.addTriangle(p0, p1, p2);
    pennant.computeNormals(false);
    pennant.addBackFaces(SheetApart);
    b.append(pennant);

    return b;
}

Mesh boat()
{
    Mesh b = boatHull();
    b.append(boatRig());
    glm::mat4 place = glm::translate(glm::mat4(1), worldToScenery(BoatPosition)) *
        glm::rotate(glm::mat4(1), BoatHeading, glm::vec3(0, 1, 0));
    b.transform(place);
    return b;
}

} // namespace

void writePalms(const std::string& root)
{
    const std::string dir = modelFile(root, game::palmFile(1)).dir;
    paintPalmTexture().saveJpeg(dir + "/palm.jpg");
    writeMtl(dir, "palms.mtl", {{"palm", "palm.jpg"}});
    const std::vector<PalmSpot>& spots = palmSpots();
    for (size_t i = 0; i < spots.size(); ++i) {
        std::string name = "palm" + std::to_string(i + 1);
        writeObj(dir, modelFile(root, game::palmFile(static_cast<int>(i) + 1)).name, "palms.mtl",
                 {{name, "palm", palm(spots[i])}});
    }
}

void writeBoat(const std::string& root)
{
    const ModelFile file = modelFile(root, game::BoatFile);
    const std::string& dir = file.dir;
    paintBoatTexture().saveJpeg(dir + "/boat.jpg");
    writeMtl(dir, "boatyMcBoatface.mtl", {{"boat", "boat.jpg"}});
    writeObj(dir, file.name, "boatyMcBoatface.mtl", {{"boat", "boat", boat()}});
}

} // namespace datagen
