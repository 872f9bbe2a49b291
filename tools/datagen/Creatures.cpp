// The flying pig with its two wings, and the bystanders on the island.
#include "IslandLayout.h"
#include "Mesh.h"
#include "Models.h"
#include "Paint.h"

#include <cmath>

#include <glm/gtc/matrix_transform.hpp>

namespace datagen {
namespace {

using layout::modelFile;
using layout::ModelFile;
namespace game = layout::game;

constexpr float Pi = 3.14159265f;

// ---------------------------------------------------------------- the pig --
// The pig's picture is an atlas: one material keeps the whole pig in one mesh.
// The skin is painted over its whole half of the atlas, but the meshes read
// only its middle: the blurred small copies of the picture that a distant
// pig is drawn from would otherwise bleed the dark trotters into the skin
// along the body's seam down the rump.
const UvRect PigSkinPaint{{0.0f, 0.0f}, {0.5f, 1.0f}};
const UvRect PigSkin{{0.05f, 0.05f}, {0.45f, 0.95f}};
const UvRect PigSnout{{0.5f, 0.5f}, {1.0f, 1.0f}};
const UvRect PigDark{{0.5f, 0.0f}, {0.75f, 0.5f}};
const UvRect PigWhite{{0.75f, 0.0f}, {1.0f, 0.25f}};
const UvRect PigEar{{0.75f, 0.25f}, {1.0f, 0.5f}};
// The snout's rim uses a band at the bottom of the snout square, clear of the nostrils.
const UvRect PigSnoutRim{{0.52f, 0.52f}, {0.98f, 0.6f}};

Image paintPigTexture()
{
    Image img(256, 256);
    const glm::vec3 skin = rgb(252, 176, 188);
    img.paintUv(PigSkinPaint, [&](glm::vec2 l, glm::vec2) {
        glm::vec3 c = vary(skin, l * glm::vec2(6, 12), 11u, 0.05f);
        // A few faint freckles of deeper pink.
        float spots = smoothstep(0.55f, 0.75f, noise2(l.x * 20, l.y * 40, 12u));
        return mixColour(c, rgb(232, 140, 158), 0.5f * spots);
    });
    img.paintUv(PigSnout, [&](glm::vec2 l, glm::vec2) {
        glm::vec3 c = vary(rgb(236, 140, 160), l * 8.0f, 13u, 0.05f);
        for (float side : {-1.0f, 1.0f}) {
            glm::vec2 d = (l - glm::vec2(0.5f + side * 0.14f, 0.55f)) / glm::vec2(0.07f, 0.12f);
            float k = glm::length(d);
            c = mixColour(c, rgb(120, 46, 64), 1.0f - smoothstep(0.85f, 1.1f, k));
        }
        return c;
    });
    img.paintUv(PigDark, [&](glm::vec2 l, glm::vec2) { return vary(rgb(34, 24, 28), l * 6.0f, 14u, 0.1f); });
    img.paintUv(PigWhite, [&](glm::vec2 l, glm::vec2) { return vary(rgb(250, 248, 246), l * 4.0f, 15u, 0.02f); });
    img.paintUv(PigEar, [&](glm::vec2 l, glm::vec2) { return vary(rgb(240, 150, 166), l * 5.0f, 16u, 0.05f); });
    return img;
}

// The pig is modelled in design units around its body, then shrunk and moved
// so that the wing roots, low in the middle of the back, lie on the file's
// z axis: the game rocks each wing about that axis, so a wing turns about its
// own joint and stays on the back. The chase camera looks along that axis
// from behind, so the pig's back lies just below the eye.
constexpr float PigShrink = 0.66f;
constexpr float WingRootY = 1.6f; // design units
glm::mat4 pigFrame()
{
    return glm::scale(glm::mat4(1), glm::vec3(PigShrink)) * glm::translate(glm::mat4(1), glm::vec3(0, -WingRootY, 0));
}

// The body flies a little nose down, so the camera behind it sees along its
// back; the head is held up level on top of that.
glm::mat4 bodyPitch()
{
    return glm::rotate(glm::mat4(1), 0.2f, glm::vec3(1, 0, 0));
}

// The head looks down and to one side, at the island below: seen from behind,
// the snout's tip shows past the cheek and the head is more than a round top.
constexpr float HeadTurn = 0.75f;
glm::mat4 headPose()
{
    return glm::translate(glm::mat4(1), glm::vec3(0.25f, 2.8f, 3.4f)) *
           glm::rotate(glm::mat4(1), HeadTurn, glm::vec3(0, 1, 0)) * glm::rotate(glm::mat4(1), -0.15f, glm::vec3(1, 0, 0));
}

// A barrel of a body, a little deeper at the chest than at the rump, so that
// the camera behind sees past the rump along the back, and sagging at the
// belly; level, before the pitch.
Mesh pigTrunk()
{
    Mesh body = surface(
        20, 12,
        [](float u, float v) {
            float lon = -Pi + 2 * Pi * u, lat = -Pi / 2 + Pi * v;
            float c = (v <= 0 || v >= 1) ? 0.0f : std::cos(lat);
            float s = v <= 0 ? -1.0f : (v >= 1 ? 1.0f : std::sin(lat));
            // A blunt barrel: across its length the section shrinks as
            // (1 - |z|^3)^(1/3), so the ends round off faster than an egg's.
            float along = c * std::cos(lon);
            float z = 3.5f * along;
            float k = std::sqrt(std::max(0.0f, 1 - along * along));
            if (k < 1e-5f) return glm::vec3(0, 0, z);
            float barrel = std::cbrt(1 - std::fabs(along * along * along)) / k;
            float fuller = 1.0f + 0.05f * along;
            float sag = s < 0 ? 0.25f * s * s * k * k : 0.0f;
            return glm::vec3(1.9f * fuller * barrel * c * std::sin(lon), 1.75f * fuller * barrel * s - sag, z);
        },
        PigSkin, true);
    body.computeNormals(true);
    return body;
}

// A leg folded up under the belly as a flier holds it: a thigh from the hip
// down to a round knee, a shin folded back along the belly and a dark
// trotter. Level body frame.
Mesh pigLeg(glm::vec3 hip, glm::vec3 knee, glm::vec3 foot, float thick)
{
    auto line = [](glm::vec3 a, glm::vec3 b) { return [=](float t) { return a + (b - a) * t; }; };
    Mesh leg = tube(line(hip, knee), [=](float t) { return thick * (1.0f - 0.15f * t); }, 7, 1, PigSkin, false);
    leg.append(ellipsoid(knee, glm::vec3(0.85f * thick), 7, 4, PigSkin));
    leg.append(tube(line(knee, foot), [=](float t) { return thick * (0.8f - 0.1f * t); }, 7, 1, PigSkin, false));
    glm::vec3 toward = glm::normalize(foot - knee);
    leg.append(tube(line(foot, foot + toward * 0.35f), [=](float t) { return thick * (0.72f - 0.12f * t); }, 7, 1,
                    PigDark, true));
    return leg;
}

Mesh pigLegs()
{
    Mesh legs;
    for (float side : {-1.0f, 1.0f}) {
        // Front legs fold back under the chest, hind legs forward under the belly
        // and their trotters back again, as a jumping pig's do.
        legs.append(pigLeg({side * 1.05f, -1.1f, 2.3f}, {side * 1.15f, -2.3f, 2.1f}, {side * 0.95f, -2.0f, 1.0f}, 0.5f));
        legs.append(
            pigLeg({side * 1.15f, -1.0f, -2.3f}, {side * 1.3f, -2.2f, -1.2f}, {side * 1.0f, -2.0f, -2.4f}, 0.55f));
    }
    return legs;
}

// A corkscrew tail: it leaves the top of the rump and coils two turns up and
// back like a spring, thinning to its tip. Level body frame.
Mesh pigTail()
{
    const glm::vec3 root(0, 0.8f, -3.0f);
    const glm::vec3 axis = glm::normalize(glm::vec3(0, 0.55f, -0.85f));
    const glm::vec3 across(1, 0, 0), other = glm::cross(axis, across);
    return tube(
        [=](float t) {
            float a = 4.0f * Pi * t;
            float r = 0.32f * smoothstep(0.0f, 0.2f, t) * (1.0f - 0.25f * t);
            return root + axis * (0.3f + 2.4f * t) + r * (std::sin(a) * across - std::cos(a) * other);
        },
        [](float t) { return 0.19f - 0.08f * t; }, 6, 22, PigSkin, true);
}

// The head in its own frame, looking down +z: a round head with a short
// snout ending in a flat disc with the nostrils painted on, eyes and ears.
Mesh pigHead()
{
    Mesh head = ellipsoid({0, 0, 0}, {1.65f, 1.55f, 1.6f}, 14, 9, PigSkin);
    // Full cheeks under the eyes, so the head is wider low down than on top.
    head.append(ellipsoid({0, -0.5f, 0.45f}, {1.45f, 1.0f, 1.2f}, 10, 5, PigSkin));

    const float snoutY = -0.3f, snoutBack = 1.0f, snoutFront = 2.4f;
    head.append(tube([&](float t) { return glm::vec3(0, snoutY, snoutBack + (snoutFront - snoutBack) * t); },
                     [](float t) { return 0.95f - 0.05f * t; }, 14, 1, PigSnoutRim, false));
    Mesh disc;
    uint32_t middle = disc.addVertex({0, snoutY, snoutFront}, PigSnout.at(0.5f, 0.5f));
    for (int i = 0; i < 14; ++i) {
        float a = 2 * Pi * i / 14;
        glm::vec2 d(std::cos(a), std::sin(a));
        disc.addVertex({0.9f * d.x, snoutY + 0.9f * d.y, snoutFront}, PigSnout.at(0.5f + 0.46f * d.x, 0.5f + 0.46f * d.y));
    }
    for (uint32_t i = 0; i < 14; ++i) disc.addTriangle(middle, 1 + i, 1 + (i + 1) % 14);
    disc.computeNormals(false);
    head.append(disc);

    for (float side : {-1.0f, 1.0f}) {
        // Eyes: a white ball with a dark pupil looking forward and a little out.
        head.append(ellipsoid({side * 0.68f, 0.45f, 1.2f}, {0.3f, 0.34f, 0.26f}, 6, 4, PigWhite));
        head.append(ellipsoid({side * 0.72f, 0.5f, 1.43f}, {0.15f, 0.18f, 0.09f}, 5, 3, PigDark));

        // Ears: broad cupped flaps from the top of the head, out to the side and
        // flopping forward at the tips, so from behind they show their backs.
        glm::vec3 baseIn(side * 0.35f, 1.3f, -0.3f), baseOut(side * 1.3f, 0.9f, -0.05f);
        glm::vec3 tip(side * 1.45f, 2.3f, 0.7f);
        Mesh ear = surface(
            4, 4,
            [&](float u, float v) {
                glm::vec3 base = baseIn + (baseOut - baseIn) * u;
                // Wide at the base, narrowing to a rounded point.
                float w = 1 - 0.8f * v * v;
                glm::vec3 mid = 0.5f * (baseIn + baseOut);
                glm::vec3 p = mid + (base - mid) * w + (tip - mid) * v;
                // Cupped: the middle of the flap bulges backward, the tip droops.
                p.z -= 0.35f * std::sin(Pi * u) * (1 - 0.6f * v);
                p.y -= 0.45f * v * v;
                p.z += 0.3f * v * v;
                return p;
            },
            PigEar);
        if (side < 0) {
            // Mirrored parameters wind the other way: keep the front facing forward.
            for (glm::uvec3& t : ear.triangles) std::swap(t.y, t.z);
        }
        // The ears turn only half as far as the head, so that from behind
        // both still show their backs rather than an edge.
        ear.transform(glm::rotate(glm::mat4(1), -0.5f * HeadTurn, glm::vec3(0, 1, 0)));
        ear.computeNormals(true);
        ear.addBackFaces(0.06f);
        head.append(ear);
    }
    head.transform(headPose());
    return head;
}

Mesh pigBody()
{
    Mesh pig = pigHead();
    // A thick neck carries the raised head up off the front of the body.
    pig.append(ellipsoid({0.1f, 1.6f, 2.5f}, {1.45f, 1.6f, 1.6f}, 12, 7, PigSkin));
    Mesh body = pigTail();
    body.append(pigLegs());
    body.append(pigTrunk());
    body.transform(bodyPitch());
    pig.append(body);
    pig.transform(pigFrame());
    return pig;
}

// Outline of the left wing along its span s (0 at the root, 1 at the tip), in
// the pig's design units: the leading edge sweeps back to the tip. The wing
// leaves the body at about s = WingOutside.
constexpr float WingOutside = 0.2f;
float wingLead(float s)
{
    return 1.1f + 0.9f * s - 1.8f * s * s * s;
}
float wingTrail(float s)
{
    return -1.1f - 0.5f * s + 1.8f * std::pow(s, 2.5f);
}

// A point on the left wing's surface: u runs round the section from the
// trailing edge over the top, the leading edge and back under it; s along the
// span. The wing rises from its root on the back in a V that steepens towards
// the tip, over the shoulders, and turns from the root out so the trailing
// feathers sweep down behind: the chase camera, level with the root, sees the
// sunlit top of the feathers, not the wing's edge. Every other section's
// trailing edge reaches further back, giving a row of flight feather tips.
glm::vec3 wingPoint(float u, float s, int spans)
{
    float out = std::max(0.0f, s - WingOutside);
    glm::vec3 spine(0.35f + 6.5f * s, WingRootY + 1.2f * s + 1.4f * out * out, 0.4f);
    if (s >= 1) return spine + glm::vec3(0, 0, wingLead(1.0f)); // the pointed tip
    float theta = 2 * Pi * u;
    float chord = 0.5f + 0.5f * std::cos(theta); // 1 at the trailing edge
    float trail = wingTrail(s);
    if (static_cast<int>(std::lround(s * spans)) % 2 == 1) trail -= 0.55f * (1 - 0.5f * s) * chord * chord;
    float middle = 0.5f * (wingLead(s) + wingTrail(s));
    float z = wingLead(s) + (trail - wingLead(s)) * chord - middle;
    float thickness = 0.18f * (1 - s) * (1.2f - 0.8f * chord) + 0.04f;
    float y = 0.25f * std::sin(Pi * chord) * (1 - s * s) + thickness * std::sin(theta);
    float twist = -0.7f * smoothstep(0.0f, WingOutside + 0.35f, s);
    float c = std::cos(twist), t = std::sin(twist);
    return spine + glm::vec3(0, y * c - z * t, middle + z * c + y * t);
}

// Closes the wing's root section (its first `around` vertices) with a flat cap
// facing the body (-x): a strip across the section, pairing each point on the
// top with the one below it.
Mesh wingRootCap(const Mesh& wing, int around)
{
    Mesh cap;
    for (int i = 0; i < around; ++i) {
        const Vertex& v = wing.vertices[static_cast<size_t>(i)];
        cap.addVertex(v.position, v.uv);
    }
    const uint32_t n = static_cast<uint32_t>(around), half = n / 2;
    cap.addTriangle(0, n - 1, 1);
    for (uint32_t i = 1; i + 1 < half; ++i) cap.addQuad(n - i, n - i - 1, i + 1, i);
    cap.addTriangle(half - 1, half + 1, half);
    cap.computeNormals(false);
    return cap;
}

// A feathered wing on the pig's left (+x), sharing the pig's frame. It is a
// thin closed volume from a root sunk in the middle of the back, on the axis
// the game rocks it about, out to a pointed tip.
Mesh leftWing()
{
    const int around = 8, spans = 12;
    Mesh wing = surface(
        around, spans, [&](float u, float s) { return wingPoint(u, s, spans); }, UvRect{{0.02f, 0.02f}, {0.98f, 0.98f}},
        true);
    // Not welded: the trailing edge and the tip stay sharp creases.
    wing.computeNormals(false);
    wing.append(wingRootCap(wing, around));
    wing.transform(pigFrame());
    return wing;
}

Image paintWingTexture()
{
    Image img(256, 256);
    img.paintUv({}, [](glm::vec2 l, glm::vec2) {
        // l.x runs round the wing's section from the trailing edge over the top and
        // back under it, l.y from the shoulder to the tip.
        float chord = 0.5f + 0.5f * std::cos(2 * Pi * l.x); // 1 at the trailing edge
        glm::vec3 white = vary(rgb(252, 252, 255), l * glm::vec2(4, 8), 21u, 0.02f);
        // The long feathers cool to a pale blue-grey towards their tips and
        // towards the wing's tip, so the flight feathers stand apart from the
        // bright coverts even in full sun.
        white = mixColour(white, rgb(214, 222, 238), smoothstep(0.45f, 1.0f, chord) * (0.5f + 0.5f * l.y));
        glm::vec3 shade = rgb(160, 172, 202);
        float edge = 0;
        if (chord > 0.45f) {
            // Six long flight feathers, each ending at one of the trailing tips.
            float f = std::fmod(l.y * 6.0f, 1.0f);
            float gap = std::min(f, 1 - f) * 2;
            edge = (1 - smoothstep(0.0f, 0.12f, gap)) * smoothstep(0.45f, 0.55f, chord);
            edge = std::max(edge,
                            0.4f * (1 - smoothstep(0.0f, 0.05f, std::fabs(f - 0.5f))) * smoothstep(0.55f, 0.7f, chord));
        } else {
            // Rows of small covert feathers over the leading part.
            float row = chord * 10.0f;
            int r = static_cast<int>(row);
            float fx = std::fmod(l.y * 14.0f + 0.5f * r, 1.0f) - 0.5f;
            float scallop = (row - r) - (0.7f - 1.6f * fx * fx);
            edge = 0.7f * (1 - smoothstep(0.0f, 0.15f, std::fabs(scallop)));
        }
        return mixColour(white, shade, edge);
    });
    return img;
}

// ------------------------------------------------------------- the people --
const UvRect Shirt{{0.0f, 0.5f}, {0.5f, 1.0f}};
const UvRect Shorts{{0.5f, 0.5f}, {0.75f, 1.0f}};
const UvRect Skin{{0.75f, 0.5f}, {1.0f, 1.0f}};
const UvRect Face{{0.0f, 0.0f}, {0.5f, 0.5f}};
const UvRect Hair{{0.5f, 0.0f}, {0.75f, 0.5f}};
const UvRect Shoes{{0.75f, 0.0f}, {1.0f, 0.25f}};
const UvRect Straw{{0.75f, 0.25f}, {1.0f, 0.5f}};
// Every part of the person reads its texels a whole number of repeats to the
// right (the texture wraps), so the lit shader can tell the person from every
// other model and each material apart: shirt, shorts, skin, hair and hat are
// coloured per person there, the shoes keep the picture's colour.
// Shadow.frag knows these bands; no other model's coordinates come near them.
UvRect outfitBand(const UvRect& rect, float band)
{
    return {rect.lo + glm::vec2(band, 0), rect.hi + glm::vec2(band, 0)};
}
const UvRect ShirtWorn = outfitBand(Shirt, 64.0f);
const UvRect ShortsWorn = outfitBand(Shorts, 128.0f);
const UvRect SkinWorn = outfitBand(Skin, 192.0f);
const UvRect FaceWorn = outfitBand(Face, 192.0f);
const UvRect HairWorn = outfitBand(Hair, 256.0f);
const UvRect HatWorn = outfitBand(Straw, 320.0f);
const UvRect ShoesWorn = outfitBand(Shoes, 384.0f);

// The parts the vertex shaders move or leave out: a part's number, doubled,
// is added to the texture v (the picture repeats, so it looks the same; two
// per part keeps a rect's top edge at v = 1 inside its own part). Shadow.vert
// and Depth.vert know these numbers and the joints below.
enum class PersonPart { Torso, Head, LeftLeg, RightLeg, LeftArm, RightArm, ShortHair, LongHair, Ponytail, Hat };

Mesh asPart(Mesh m, PersonPart part)
{
    for (Vertex& v : m.vertices) v.uv.y += 2.0f * static_cast<float>(part);
    return m;
}

Image paintPersonTexture()
{
    Image img(256, 256);
    const glm::vec3 skinTone = rgb(236, 188, 152);
    img.paintUv(Shirt, [](glm::vec2 l, glm::vec2) {
        // A loud holiday shirt: orange-red with pale flowers.
        glm::vec3 c = vary(rgb(232, 72, 44), l * 6.0f, 31u, 0.05f);
        glm::vec2 cell = l * 5.0f;
        glm::vec2 centre = glm::floor(cell) + 0.5f;
        float jitterX = (hash32(static_cast<int>(centre.x), static_cast<int>(centre.y), 0, 32u) & 255u) / 255.0f - 0.5f;
        glm::vec2 d = cell - centre - glm::vec2(0.25f * jitterX, 0);
        float a = std::atan2(d.y, d.x), r = glm::length(d);
        float petal = 0.26f + 0.1f * std::cos(5 * a);
        c = mixColour(c, rgb(255, 236, 140), 1 - smoothstep(petal - 0.03f, petal + 0.03f, r));
        c = mixColour(c, rgb(240, 140, 40), 1 - smoothstep(0.06f, 0.09f, r));
        return c;
    });
    img.paintUv(Shorts, [](glm::vec2 l, glm::vec2) {
        glm::vec3 c = vary(rgb(52, 92, 170), l * glm::vec2(4, 16), 33u, 0.08f);
        return c * (0.95f + 0.05f * std::sin(l.x * 90.0f + l.y * 30.0f));
    });
    img.paintUv(Skin, [&](glm::vec2 l, glm::vec2) { return vary(skinTone, l * 5.0f, 34u, 0.03f); });
    // Hair is pale grey strands: the shader multiplies in each person's colour.
    img.paintUv(Hair, [&](glm::vec2 l, glm::vec2) {
        float strands = 0.5f + 0.5f * fbm2(l.x * 60.0f, l.y * 4.0f, 35u, 3);
        return glm::vec3(0.72f + 0.28f * strands);
    });
    img.paintUv(Shoes, [](glm::vec2 l, glm::vec2) { return vary(rgb(60, 52, 50), l * 4.0f, 36u, 0.06f); });
    // A woven sun hat, pale so the shader can tint it, with a dark ribbon
    // round the crown (the hat's v runs from under the brim to the crown's top).
    img.paintUv(Straw, [](glm::vec2 l, glm::vec2) {
        float weave = 0.5f + 0.25f * std::sin(l.x * 150.0f) * std::sin(l.y * 90.0f);
        glm::vec3 c = vary(rgb(236, 222, 180), l * glm::vec2(8, 8), 38u, 0.05f) * (0.9f + 0.14f * weave);
        float ribbon = smoothstep(0.51f, 0.53f, l.y) * (1 - smoothstep(0.6f, 0.62f, l.y));
        return mixColour(c, rgb(70, 60, 56), ribbon);
    });
    img.paintUv(Face, [&](glm::vec2 l, glm::vec2) {
        // l.x runs around the head with the face at 0.5; l.y from chin pole to
        // crown. The hair is its own part, so the scalp is skin.
        glm::vec3 c = vary(skinTone, l * 5.0f, 37u, 0.03f);
        for (float side : {-1.0f, 1.0f}) {
            glm::vec2 d = (l - glm::vec2(0.5f + side * 0.065f, 0.6f)) / glm::vec2(0.022f, 0.045f);
            c = mixColour(c, rgb(30, 24, 22), 1 - smoothstep(0.8f, 1.1f, glm::length(d)));
        }
        // A smile.
        glm::vec2 m = l - glm::vec2(0.5f, 0.47f);
        float smile = std::fabs(glm::length(m / glm::vec2(1.0f, 1.6f)) - 0.06f);
        if (m.y < -0.01f) c = mixColour(c, rgb(150, 60, 60), 1 - smoothstep(0.006f, 0.012f, smile));
        return c;
    });
    return img;
}

// A leg in shorts, with its shoe; `side` is +1 for the person's left (+x).
// Metres, feet at y = 0, facing +z. The hip joint is at (side * 0.11, 0.92).
Mesh personLeg(float side)
{
    Mesh p;
    float x = side * 0.11f;
    p.append(box({x - 0.055f, 0.0f, -0.07f}, {x + 0.055f, 0.08f, 0.17f}, ShoesWorn));
    p.append(tube([&](float t) { return glm::vec3(x, 0.06f + 0.46f * t, 0.0f); },
                  [](float t) { return 0.06f + 0.02f * t; }, 6, 2, SkinWorn, false));
    p.append(tube([&](float t) { return glm::vec3(x * (1 - 0.1f * t), 0.5f + 0.42f * t, 0.0f); },
                  [](float t) { return 0.1f + 0.025f * t; }, 8, 1, ShortsWorn, true));
    return asPart(p, side > 0 ? PersonPart::LeftLeg : PersonPart::RightLeg);
}

// An arm in a short sleeve, held a little out from the body so the
// silhouette reads at a distance. The shoulder joint is at (side * 0.24, 1.4).
Mesh personArm(float side)
{
    Mesh p;
    glm::vec3 shoulder(side * 0.24f, 1.4f, 0.0f), elbow(side * 0.33f, 1.13f, 0.03f), wrist(side * 0.38f, 0.88f, 0.08f);
    p.append(tube([&](float t) { return shoulder + (elbow - shoulder) * (0.1f + 0.7f * t); },
                  [](float) { return 0.07f; }, 6, 1, ShirtWorn, true));
    p.append(tube(
        [&](float t) {
            return t < 0.5f ? shoulder + (elbow - shoulder) * (0.75f + 0.5f * t)
                            : elbow + (wrist - elbow) * (2 * t - 1);
        },
        [](float t) { return 0.05f - 0.01f * t; }, 6, 2, SkinWorn, false));
    p.append(ellipsoid(wrist + glm::vec3(0, -0.06f, 0), {0.042f, 0.075f, 0.05f}, 5, 3, SkinWorn));
    return asPart(p, side > 0 ? PersonPart::LeftArm : PersonPart::RightArm);
}

// The shirt from the waist to the shoulders, rounding in towards the neck.
Mesh personTorso()
{
    Mesh torso = surface(
        10, 5,
        [](float u, float v) {
            float lon = -Pi + 2 * Pi * u;
            float y = 0.9f + 0.56f * v;
            float width = 0.2f - 0.02f * std::sin(Pi * std::min(v * 1.6f, 1.0f)) + 0.045f * smoothstep(0.5f, 0.8f, v);
            float depth = 0.13f + 0.01f * v;
            float close = v >= 1 ? 0.0f : std::sqrt(1 - smoothstep(0.75f, 1.0f, v) * 0.85f);
            if (v >= 1) y -= 0.02f;
            return glm::vec3(width * close * std::sin(lon), y, depth * close * std::cos(lon));
        },
        ShirtWorn, true);
    torso.computeNormals(true);
    // The shorts' waistband under the shirt's hem.
    torso.append(tube([](float t) { return glm::vec3(0, 0.8f + 0.16f * t, 0); }, [](float) { return 0.195f; }, 8, 1,
                      ShortsWorn, true));
    return asPart(torso, PersonPart::Torso);
}

// Neck and a head a touch large for the body (it reads better when small on
// screen). The head's centre is (0, 1.655, 0.01).
Mesh personHead()
{
    Mesh h = tube([](float t) { return glm::vec3(0, 1.42f + 0.14f * t, 0); }, [](float) { return 0.058f; }, 6, 1,
                  SkinWorn, false);
    h.append(ellipsoid({0, 1.655f, 0.01f}, {0.118f, 0.14f, 0.128f}, 10, 6, FaceWorn));
    return asPart(h, PersonPart::Head);
}

// A shell of hair over the head, its lower edge `lowest(front)` radians of
// latitude (front: 1 over the forehead, 0 at the back). Below the head's
// middle the hair hangs straight down, `hang` times as far as the curve would go.
Mesh hairShell(int around, int up, const std::function<float(float)>& lowest, float hang)
{
    Mesh hair = surface(
        around, up,
        [&](float u, float v) {
            float lon = -Pi + 2 * Pi * u;
            float front = 0.5f + 0.5f * std::cos(lon);
            float low = lowest(front);
            float lat = low + (Pi / 2 - low) * v;
            float c = v >= 1 ? 0.0f : std::cos(std::max(lat, 0.0f)), s = v >= 1 ? 1.0f : std::sin(lat);
            if (lat < 0) s *= hang;
            return glm::vec3(0, 1.67f, 0.0f) + glm::vec3(0.131f * c * std::sin(lon), 0.14f * s, 0.141f * c * std::cos(lon));
        },
        HairWorn, true);
    hair.computeNormals(true);
    return hair;
}

// The hair styles and the hat. Each person wears some of them; the vertex
// shaders fold the rest away inside the head.
Mesh personHairAndHat()
{
    Mesh m;
    // Short: a cap, longer at the back than over the forehead (the shader
    // also swells it into a curly crop).
    m.append(asPart(hairShell(10, 3, [](float front) { return -0.45f + 0.85f * front; }, 1.0f), PersonPart::ShortHair));
    // Long: straight down over the ears to the shoulders at the back.
    m.append(asPart(hairShell(8, 3, [](float front) { return -1.2f + 1.55f * front * front; }, 1.6f),
                    PersonPart::LongHair));
    // A ponytail from the back of the crown, worn with the short cap.
    m.append(asPart(tube(
                        [](float t) {
                            return glm::vec3(0, 1.74f - 0.26f * t, -0.13f - 0.07f * std::sin(Pi * 0.6f * t));
                        },
                        [](float t) { return 0.065f - 0.03f * t; }, 5, 2, HairWorn, true),
                    PersonPart::Ponytail));
    // A wide-brimmed sun hat: one closed outline turned about the head's
    // axis, from inside the brim's underside out to its edge, back over its
    // top and up the crown (radius, height).
    const glm::vec2 outline[] = {{0.135f, 1.735f}, {0.26f, 1.7f},    {0.265f, 1.712f},
                                 {0.15f, 1.75f},   {0.145f, 1.81f}, {0.1f, 1.87f}, {0.0f, 1.88f}};
    constexpr int Points = sizeof(outline) / sizeof(outline[0]);
    Mesh hat = surface(
        10, Points - 1,
        [&](float u, float v) {
            float lon = -Pi + 2 * Pi * u;
            int i = std::min(static_cast<int>(std::lround(v * (Points - 1))), Points - 1);
            glm::vec2 p = outline[i];
            return glm::vec3(p.x * std::sin(lon), p.y, p.x * std::cos(lon));
        },
        HatWorn, true);
    hat.computeNormals(false);
    m.append(asPart(hat, PersonPart::Hat));
    return m;
}

// A holidaymaker about 1.88 m tall with a hat on, built in metres with the
// feet at y = 0 and facing +z, then scaled to the file's units: 0.7 per metre
// stands the person a little larger than life beside the palms, so it reads
// from the pig's height. Built at the broadest build; the shaders slim some.
Mesh person()
{
    Mesh p;
    for (float side : {-1.0f, 1.0f}) {
        p.append(personLeg(side));
        p.append(personArm(side));
    }
    p.append(personTorso());
    p.transform(glm::scale(glm::mat4(1), glm::vec3(1.08f, 1.0f, 1.04f)));
    p.append(personHead());
    p.append(personHairAndHat());
    p.transform(glm::scale(glm::mat4(1), glm::vec3(0.7f)));
    return p;
}

} // namespace

void writePig(const std::string& root)
{
    const ModelFile body = modelFile(root, game::PigFile);
    const std::string& dir = body.dir;
    paintPigTexture().saveJpeg(dir + "/pig.jpg");
    paintWingTexture().saveJpeg(dir + "/wing.jpg");
    writeMtl(dir, "pig9.mtl", {{"pig_skin", "pig.jpg"}});
    writeMtl(dir, "wings.mtl", {{"feathers", "wing.jpg"}});
    writeObj(dir, body.name, "pig9.mtl", {{"pig", "pig_skin", pigBody()}});
    Mesh left = leftWing();
    Mesh right = left;
    right.transform(glm::scale(glm::mat4(1), glm::vec3(-1, 1, 1)));
    writeObj(dir, modelFile(root, game::LeftWingFile).name, "wings.mtl", {{"left_wing", "feathers", left}});
    writeObj(dir, modelFile(root, game::RightWingFile).name, "wings.mtl", {{"right_wing", "feathers", right}});
}

void writeBystander(const std::string& root)
{
    const ModelFile file = modelFile(root, game::PersonFile);
    const std::string& dir = file.dir;
    paintPersonTexture().saveJpeg(dir + "/bystander.jpg");
    writeMtl(dir, "Bystander.mtl", {{"holidaymaker", "bystander.jpg"}});
    writeObj(dir, file.name, "Bystander.mtl", {{"bystander", "holidaymaker", person()}});
}

} // namespace datagen
