// The flying pig with its two wings, and the bystanders on the island.
#include "IslandLayout.h"
#include "Mesh.h"
#include "Models.h"
#include "Paint.h"

#include <algorithm>
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
// pig is drawn from would otherwise bleed the dark trotters into the skin.
// Across the skin (u) the body runs from the belly (0 and 1) over the back
// (0.5); along it (v) from the rump to the snout.
const UvRect PigSkinPaint{{0.0f, 0.0f}, {0.5f, 1.0f}};
const UvRect PigSkin{{0.05f, 0.05f}, {0.45f, 0.95f}};
// Legs, tail and the inside of the ears read one flank-coloured strip.
const UvRect PigFlank{{0.12f, 0.1f}, {0.16f, 0.6f}};
const UvRect PigSnout{{0.5f, 0.5f}, {1.0f, 1.0f}};
const UvRect PigDark{{0.5f, 0.0f}, {0.75f, 0.5f}};
const UvRect PigWhite{{0.75f, 0.0f}, {1.0f, 0.25f}};
const UvRect PigEar{{0.75f, 0.25f}, {1.0f, 0.5f}};

Image paintPigTexture()
{
    Image img(256, 256);
    // Light and warm, since the side away from the sun gets only the sky's
    // dim ambient light: a deep pink would turn brown there.
    const glm::vec3 back = rgb(255, 178, 192), belly = rgb(255, 214, 206);
    img.paintUv(PigSkinPaint, [&](glm::vec2 l, glm::vec2) {
        // Rosier along the back, paler and warmer down to the belly.
        float up = 0.5f - 0.5f * std::cos(2 * Pi * (l.x - 0.05f) / 0.9f);
        glm::vec3 c = mixColour(belly, back, smoothstep(0.1f, 0.9f, up));
        // The snout's end of the body blushes a little.
        c = mixColour(c, rgb(255, 168, 184), 0.6f * smoothstep(0.82f, 0.95f, l.y));
        c = vary(c, l * glm::vec2(6, 12), 11u, 0.03f);
        // A few faint freckles of deeper pink on the back.
        float spots = smoothstep(0.6f, 0.78f, noise2(l.x * 20, l.y * 40, 12u)) * up;
        return mixColour(c, rgb(244, 150, 170), 0.35f * spots);
    });
    img.paintUv(PigSnout, [&](glm::vec2 l, glm::vec2) {
        glm::vec3 c = vary(rgb(255, 160, 178), l * 8.0f, 13u, 0.04f);
        for (float side : {-1.0f, 1.0f}) {
            glm::vec2 d = (l - glm::vec2(0.5f + side * 0.15f, 0.52f)) / glm::vec2(0.075f, 0.13f);
            float k = glm::length(d);
            c = mixColour(c, rgb(150, 60, 84), 1.0f - smoothstep(0.85f, 1.1f, k));
        }
        return c;
    });
    img.paintUv(PigDark, [&](glm::vec2 l, glm::vec2) { return vary(rgb(60, 38, 44), l * 6.0f, 14u, 0.1f); });
    img.paintUv(PigWhite, [&](glm::vec2 l, glm::vec2) { return vary(rgb(250, 248, 246), l * 4.0f, 15u, 0.02f); });
    img.paintUv(PigEar, [&](glm::vec2 l, glm::vec2) { return vary(rgb(255, 160, 180), l * 5.0f, 16u, 0.04f); });
    return img;
}

// The pig is shaped as one smooth form: the distance fields of rounded parts
// (rump, belly, chest, head, jowls, snout, haunches and shoulders) melted
// together with a smooth minimum, so the parts flow into each other instead
// of meeting in creases. Level body frame, file units, snout towards +z; the
// whole pig is then pitched nose up and moved so that the wing roots lie on
// the z axis (see pigPlace).
struct PigPart {
    glm::vec3 centre, radii;
};
constexpr float SnoutLift = 0.45f; // radians above the body's axis
constexpr float SnoutRadius = 0.6f;
const glm::vec3 HeadCentre(0, 0.75f, 2.55f);
const glm::vec3 SnoutAxis(0, std::sin(SnoutLift), std::cos(SnoutLift));
constexpr float SnoutLength = 1.8f;
const glm::vec3 SnoutEnd = HeadCentre + SnoutLength * SnoutAxis;

const PigPart PigParts[] = {
    {{0, 0.0f, -1.7f}, {1.4f, 1.35f, 1.4f}},    // rump
    {{0, -0.1f, -0.1f}, {1.5f, 1.45f, 1.6f}},   // belly
    {{0, 0.1f, 1.25f}, {1.4f, 1.38f, 1.3f}},    // chest
    {HeadCentre, {1.15f, 1.08f, 1.05f}},        // head
    {HeadCentre + glm::vec3(0, -0.4f, 0.25f), {1.02f, 0.75f, 0.9f}}, // jowls
    // Broad hams low at the sides of the rump: from behind the pig is wider
    // at the bottom than at the top, a backside rather than an egg.
    {{0.88f, -0.8f, -1.8f}, {0.78f, 0.88f, 0.95f}}, // haunches
    {{-0.88f, -0.8f, -1.8f}, {0.78f, 0.88f, 0.95f}},
    {{0.72f, -0.7f, 1.35f}, {0.55f, 0.75f, 0.65f}}, // shoulders
    {{-0.72f, -0.7f, 1.35f}, {0.55f, 0.75f, 0.65f}},
};

float ellipsoidDistance(glm::vec3 p, const PigPart& part)
{
    glm::vec3 q = p - part.centre;
    float k0 = glm::length(q / part.radii), k1 = glm::length(q / (part.radii * part.radii));
    return k1 > 0 ? k0 * (k0 - 1) / k1 : -std::min(part.radii.x, std::min(part.radii.y, part.radii.z));
}

float smoothMin(float a, float b, float k)
{
    float h = std::max(k - std::fabs(a - b), 0.0f) / k;
    return std::min(a, b) - h * h * k * 0.25f;
}

// Negative inside the pig's body.
float pigField(glm::vec3 p)
{
    // The back is a little flattened: above the middle of the body, behind
    // the head, heights count for more, so the top is broad and low.
    glm::vec3 b = p;
    float flat = 0.2f * smoothstep(0.2f, 1.3f, p.y) * (1 - smoothstep(1.4f, 2.2f, p.z));
    b.y *= 1 + flat;
    float d = 1e9f;
    for (const PigPart& part : PigParts) d = smoothMin(d, ellipsoidDistance(b, part), 0.9f);
    // The snout: a round-edged cylinder out of the face, ending flat.
    glm::vec3 q = p - HeadCentre;
    float along = glm::dot(q, SnoutAxis);
    float across = glm::length(q - along * SnoutAxis) - SnoutRadius;
    float ends = std::max(0.6f - along, along - SnoutLength);
    float snout = std::min(std::max(across, ends), 0.0f) + glm::length(glm::max(glm::vec2(across, ends), 0.0f));
    return smoothMin(d, snout, 0.45f);
}

// Where a ray from inside the body leaves it.
glm::vec3 pigSurface(glm::vec3 from, glm::vec3 dir)
{
    float lo = 0, hi = 0;
    while (hi < 5 && pigField(from + dir * hi) < 0) lo = hi, hi += 0.05f;
    for (int i = 0; i < 16; ++i) {
        float mid = 0.5f * (lo + hi);
        (pigField(from + dir * mid) < 0 ? lo : hi) = mid;
    }
    return from + dir * hi;
}

// The line through the middle of the body from the rump to the snout's end,
// bending up through the neck: the skin is found along rays square to it.
glm::vec3 pigSpine(float t)
{
    const glm::vec3 p[] = {{0, 0.0f, -1.7f}, {0, -0.05f, -0.1f}, {0, 0.15f, 1.25f}, HeadCentre, SnoutEnd};
    const int last = 4;
    float x = std::clamp(t, 0.0f, 1.0f) * last;
    int i = std::min(static_cast<int>(x), last - 1);
    float f = x - i;
    glm::vec3 a = p[std::max(i - 1, 0)], b = p[i], c = p[i + 1], d = p[std::min(i + 2, last)];
    if (i == 0) a = b - (c - b);
    if (i + 1 == last) d = c + (c - b);
    return 0.5f * ((2.0f * b) + (c - a) * f + (2.0f * a - 5.0f * b + 4.0f * c - d) * f * f +
                   (3.0f * b - a - 3.0f * c + d) * f * f * f);
}

// Level body frame to the file's: nose up by PigPitch, and the point between
// the shoulders where the wings are rooted moved onto the z axis.
constexpr float PigPitch = 0.15f;
const glm::vec3 WingRootInBody(0, 0.95f, 0.75f);
glm::mat4 pigPlace()
{
    glm::mat4 pitch = glm::rotate(glm::mat4(1), -PigPitch, glm::vec3(1, 0, 0));
    glm::vec3 root = glm::vec3(pitch * glm::vec4(WingRootInBody, 1));
    return glm::translate(glm::mat4(1), glm::vec3(0, -root.y, 0)) * pitch;
}

// The body's skin with the head and snout, one closed surface: rings square
// to the spine, a round cap over the rump, open at the snout's flat end.
// Level body frame.
Mesh pigSkin()
{
    const int around = 18, rumpRings = 6, rings = 28;
    const float spineStart = 0.0f;
    Mesh skin = surface(
        around, rings,
        [&](float u, float v) {
            float a = 2 * Pi * u;
            int j = static_cast<int>(std::lround(v * rings));
            float t = j <= rumpRings ? spineStart : spineStart + (1 - spineStart) * (j - rumpRings) / float(rings - rumpRings);
            if (j == rings) t = 0.9995f;
            glm::vec3 o = pigSpine(t);
            glm::vec3 ahead = glm::normalize(pigSpine(std::min(t + 0.01f, 1.0f)) - pigSpine(std::max(t - 0.01f, 0.0f)));
            glm::vec3 side(1, 0, 0), up = glm::cross(ahead, side);
            // Round the belly side to the back (u = 0.5) and down again.
            glm::vec3 out = -std::cos(a) * up + std::sin(a) * side;
            if (j < rumpRings) {
                float b = 0.5f * Pi * j / rumpRings;
                out = glm::normalize(std::sin(b) * out - std::cos(b) * ahead);
            }
            return pigSurface(o, out);
        },
        PigSkin, true);
    return skin;
}

// The snout's flat end, with the nostrils painted on. Rim: the skin's last ring.
Mesh pigSnoutDisc(const Mesh& skin, int around)
{
    Mesh disc;
    size_t first = skin.vertices.size() - static_cast<size_t>(around + 1);
    uint32_t middle = disc.addVertex(SnoutEnd, PigSnout.at(0.5f, 0.5f));
    for (int i = 0; i < around; ++i) {
        glm::vec3 p = skin.vertices[first + static_cast<size_t>(i)].position;
        glm::vec3 d = p - SnoutEnd;
        glm::vec2 flat(d.x, glm::dot(d, glm::cross(SnoutAxis, glm::vec3(1, 0, 0))));
        flat = flat / std::max(glm::length(flat), 1e-4f);
        disc.addVertex(p, PigSnout.at(0.5f + 0.46f * flat.x, 0.5f + 0.46f * flat.y));
    }
    for (uint32_t i = 0; i < static_cast<uint32_t>(around); ++i)
        disc.addTriangle(middle, 1 + i, 1 + (i + 1) % around);
    disc.computeNormals(false);
    return disc;
}

// A leg folded under the belly as a flier holds it: a thick upper leg grown
// out of the haunch or shoulder, a shin folded back and a dark trotter.
Mesh pigLeg(glm::vec3 hip, glm::vec3 knee, glm::vec3 foot, float thick)
{
    auto bend = [=](float t) {
        // A smooth quadratic bent towards the knee.
        return (1 - t) * (1 - t) * hip + 2 * (1 - t) * t * knee + t * t * foot;
    };
    Mesh leg = tube(bend, [=](float t) { return thick * (1.0f - 0.3f * t); }, 7, 4, PigFlank, false);
    glm::vec3 toward = glm::normalize(foot - knee);
    leg.append(tube([=](float t) { return foot + toward * (0.32f * t); },
                    [=](float t) { return thick * (0.72f - 0.15f * t); }, 7, 1, PigDark, true));
    return leg;
}

Mesh pigLegs()
{
    Mesh legs;
    for (float side : {-1.0f, 1.0f}) {
        // Front legs fold back under the chest, hind legs reach forward
        // under the belly, as a jumping pig's do.
        // under the belly, as a jumping pig's do. The hind trotters hang low
        // enough to peek out under the hams from behind.
        legs.append(pigLeg({side * 0.78f, -0.9f, 1.35f}, {side * 0.92f, -1.6f, 1.05f}, {side * 0.72f, -1.65f, 0.2f},
                           0.42f));
        legs.append(pigLeg({side * 0.9f, -1.05f, -1.8f}, {side * 1.0f, -1.55f, -1.85f},
                           {side * 0.8f, -1.86f, -1.55f}, 0.46f));
    }
    return legs;
}

// A corkscrew tail: a short stalk out of the top of the rump, then two and a
// half turns like a spring about an axis leaning up and back, so the chase
// camera behind the pig sees the loops from the side, a springy curl standing
// off the rump rather than a flat spiral.
// It thins to its tip.
Mesh pigTail()
{
    const glm::vec3 out = glm::normalize(glm::vec3(0, 0.5f, -1));
    const glm::vec3 root = pigSurface(glm::vec3(0, 0, -1.7f), out) - 0.15f * out;
    const glm::vec3 axis = glm::normalize(glm::vec3(0.15f, 0.75f, -0.65f));
    const glm::vec3 across = glm::normalize(glm::cross(axis, glm::vec3(1, 0, 0))),
                    other = glm::cross(axis, across);
    const float stalk = 0.2f;
    return tube(
        [=](float t) {
            if (t < stalk) return root + out * (0.55f * t / stalk);
            float c = (t - stalk) / (1 - stalk);
            float a = 5.0f * Pi * c;
            float r = 0.2f * (1.0f - 0.2f * c);
            // The coil starts where the stalk ends: on its circle's far side.
            glm::vec3 centre = root + out * 0.55f - 0.2f * across + axis * (0.85f * c);
            return centre + r * (std::cos(a) * across + std::sin(a) * other);
        },
        [](float t) { return 0.15f - 0.07f * t; }, 6, 26, PigFlank, true);
}

// Eyes and ears on the head, placed on its skin.
Mesh pigFace()
{
    Mesh face;
    for (float side : {-1.0f, 1.0f}) {
        // Eyes: a dark bead with a white glint, set into the skin above the snout.
        glm::vec3 eye = pigSurface(HeadCentre, glm::normalize(glm::vec3(side * 0.62f, 0.3f, 0.72f)));
        glm::vec3 out = glm::normalize(eye - HeadCentre);
        face.append(ellipsoid(eye - 0.06f * out, {0.17f, 0.2f, 0.17f}, 6, 4, PigDark));
        face.append(ellipsoid(eye + 0.06f * out + glm::vec3(side * -0.02f, 0.07f, 0.02f), glm::vec3(0.05f), 4, 2,
                              PigWhite));

        // Ears: broad cupped flaps standing out from the top of the head and
        // flopping forward at the tips, so from behind they show their backs.
        glm::vec3 baseIn = HeadCentre + glm::vec3(side * 0.25f, 0.92f, -0.15f);
        glm::vec3 baseOut = HeadCentre + glm::vec3(side * 0.92f, 0.58f, 0.05f);
        glm::vec3 tip = HeadCentre + glm::vec3(side * 1.25f, 1.7f, 0.45f);
        Mesh ear = surface(
            4, 4,
            [&](float u, float v) {
                glm::vec3 base = baseIn + (baseOut - baseIn) * u;
                float w = 1 - 0.8f * v * v;
                glm::vec3 mid = 0.5f * (baseIn + baseOut);
                glm::vec3 p = mid + (base - mid) * w + (tip - mid) * v;
                p.z -= 0.25f * std::sin(Pi * u) * (1 - 0.6f * v);
                p.y -= 0.3f * v * v;
                p.z += 0.25f * v * v;
                return p;
            },
            PigEar);
        if (side < 0) {
            // Mirrored parameters wind the other way: keep the front facing forward.
            for (glm::uvec3& t : ear.triangles) std::swap(t.y, t.z);
        }
        ear.computeNormals(true);
        ear.addBackFaces(0.05f);
        face.append(ear);
    }
    return face;
}

Mesh pigBody()
{
    const int around = 18;
    Mesh skin = pigSkin();
    Mesh pig = pigFace();
    pig.append(pigTail());
    pig.append(pigLegs());
    pig.append(pigSnoutDisc(skin, around));
    skin.computeNormals(true);
    pig.append(skin);
    pig.transform(pigPlace());
    // Every normal leans a little towards the sky: the side turned from the
    // sun then still catches some of it, and a backlit pig stays pink
    // instead of going brown in the shader's dim ambient light.
    for (Vertex& v : pig.vertices)
        if (v.normal != glm::vec3(0)) v.normal = glm::normalize(v.normal + glm::vec3(0, 0.45f, 0));
    return pig;
}

// The left wing, in the file's frame, along its span s (0 at the root, 1 at
// the tip): a bone line rising from the root in the back in a gentle arch
// that lifts again at the tip, and the leading and trailing edges (z, from
// the root) sweeping back to a pointed tip. The root lies on the z axis, the
// line the game rocks the wing about, so the beat turns it about its own
// shoulder and the root stays hidden in the back.
constexpr float WingSpan = 6.5f;
float wingLead(float s)
{
    return 0.75f + 0.9f * s - 2.65f * std::pow(s, 2.2f);
}
float wingTrail(float s)
{
    return -0.85f - 1.3f * s + 1.15f * s * s * s;
}
glm::vec3 wingBone(float s)
{
    glm::vec3 root = glm::vec3(pigPlace() * glm::vec4(WingRootInBody, 1));
    return glm::vec3(0.3f + WingSpan * s, -0.1f + 1.9f * smoothstep(0.0f, 0.6f, s) + 0.35f * s * s * s, root.z);
}

// A point on the left wing's surface: u runs round the section from the
// trailing edge over the top, the leading edge and back under it; s along the
// span. The section is cambered and turned trailing edge down, so the chase
// camera, level with the root, sees the top of the feathers. The trailing
// edge runs out in a few large rounded flight feather tips, broad enough to
// stay smooth curves at the size the wing is seen.
constexpr int WingFeathers = 5;
glm::vec3 wingPoint(float u, float s)
{
    glm::vec3 bone = wingBone(s);
    if (s >= 1) return bone + glm::vec3(0, 0, wingLead(1.0f)); // the pointed tip
    float theta = 2 * Pi * u;
    float chord = 0.5f + 0.5f * std::cos(theta); // 1 at the trailing edge
    float trail = wingTrail(s);
    float f = std::fmod(s * WingFeathers, 1.0f);
    float tip = std::sqrt(std::max(0.0f, 1.0f - (2 * f - 1) * (2 * f - 1))); // round, 0 between feathers
    trail -= 0.45f * (1 - 0.3f * s) * tip * chord * chord;
    float lead = wingLead(s);
    float middle = 0.5f * (lead + wingTrail(s));
    float z = lead + (trail - lead) * chord - middle;
    // Thick and round at the leading edge's bone, thin to the feather tips.
    float thickness = 0.3f * (1 - 0.65f * s) * (1.2f - 1.05f * chord) + 0.04f;
    float camber = 0.22f * std::sin(Pi * chord) * (1 - 0.7f * s);
    // The long feathers' tips curl down a little, each over the next.
    float curl = -0.1f * tip * chord * chord * smoothstep(0.2f, 0.8f, s);
    float y = camber + curl + thickness * std::sin(theta);
    // Turned well over, trailing edge down, so from behind the wing shows the
    // broad top of its feathers rather than a thin edge.
    float twist = -0.95f * smoothstep(0.0f, 0.45f, s);
    float c = std::cos(twist), t = std::sin(twist);
    return bone + glm::vec3(0, y * c - z * t, middle + z * c + y * t);
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

// A feathered wing on the pig's left (+x), in the file's frame: a thin
// closed volume from its root in the back out to a pointed tip.
Mesh leftWing()
{
    const int around = 8, spans = 4 * WingFeathers;
    Mesh wing = surface(
        around, spans, [&](float u, float s) { return wingPoint(u, s); }, UvRect{{0.02f, 0.02f}, {0.98f, 0.98f}},
        true);
    // Not welded: the trailing edge and the tip stay sharp creases.
    wing.computeNormals(false);
    wing.append(wingRootCap(wing, around));
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
            // The long flight feathers, each ending at one of the trailing tips.
            float f = std::fmod((l.y - 0.02f) / 0.96f * WingFeathers, 1.0f);
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
    // The sleeve starts in a small dome round the shoulder joint, so the
    // shoulder reads round rather than as the cut end of a tube, also when
    // the shaders raise the arm.
    const float along[] = {-0.05f, 0.1f, 0.8f}, radius[] = {0.04f, 0.07f, 0.07f};
    p.append(tube([&](float t) { return shoulder + (elbow - shoulder) * along[std::lround(t * 2)]; },
                  [&](float t) { return radius[std::lround(t * 2)]; }, 6, 2, ShirtWorn, true));
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
