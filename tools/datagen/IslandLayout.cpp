#include "IslandLayout.h"

#include "Noise.h"
#include "Random.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include <glm/geometric.hpp>

namespace datagen::layout {
namespace {

constexpr float Pi = 3.14159265f;

float angleAround(float x, float z)
{
    return std::atan2(z - IslandCentre.y, x - IslandCentre.x);
}

// The rounded core of the island: a few low harmonics. The people's spots
// are laid out on it, so the bays and points of the real coast never move them.
float roundedRadius(float angle)
{
    return IslandRadius *
        (1.0f + 0.07f * std::sin(2 * angle + 1.1f) + 0.045f * std::sin(3 * angle + 2.3f) +
         0.025f * std::sin(5 * angle + 0.4f));
}

} // namespace

float coastRadius(float angle)
{
    // Bays cut in and sandy points reach out: each a bump of the radius,
    // relative to the rounded core, centred on a direction (radians) with a
    // given angular width. They sit between the people's spots.
    struct Feature {
        float angle, width, size;
    };
    static constexpr Feature features[] = {
        {-2.40f, 0.22f, -0.30f}, // the broad bay on the near left
        {2.98f, 0.065f, 0.17f},  // a thin spit out to the west
        {2.25f, 0.20f, -0.15f},  // a cove behind it
        {1.20f, 0.20f, -0.22f},  // a bay in the far shore
        {0.40f, 0.08f, 0.12f},   // a blunt point to the north-east
        {-0.52f, 0.07f, 0.20f},  // a spit on the near right
        {-1.45f, 0.30f, -0.10f}, // a shallow curve in the near beach
    };
    float shape = 1.0f + 0.02f * std::sin(7 * angle + 0.9f) + 0.015f * std::sin(11 * angle + 2.0f);
    for (const Feature& f : features) {
        // The shortest way round from the feature's direction.
        const float d = std::remainder(angle - f.angle, 2 * Pi) / f.width;
        shape += f.size * std::exp(-d * d);
    }
    return roundedRadius(angle) * shape;
}

float islandFraction(float x, float z)
{
    float r = glm::length(glm::vec2(x, z) - IslandCentre);
    return r / coastRadius(angleAround(x, z));
}

float islandHeight(float x, float z)
{
    float s = islandFraction(x, z);
    if (s <= 1) {
        // A gentle dome with a little unevenness that fades out towards the beach.
        float dome = 1 - s * s;
        float bumps = 0.12f * noise2(x * 0.22f, z * 0.22f, 71u) + 0.05f * noise2(x * 0.6f, z * 0.6f, 72u);
        return WaterLevel + IslandRise * dome + bumps * dome;
    }
    // Below the water the slope keeps the dome's steepness and then drops faster,
    // reaching well under the sea floor at IslandReach.
    float d = s - 1;
    return WaterLevel - 2 * IslandRise * d - 12.2f * d * d;
}

float seaGroundHeight(float x, float z)
{
    float raw = 0.9f * fbm2(x / 30.0f, z / 30.0f, 91u, 3) + 0.35f * noise2(x / 9.0f, z / 9.0f, 93u);
    // A shallow shelf rings the island.
    float r = glm::length(glm::vec2(x, z) - IslandCentre);
    raw += 0.5f * std::exp(-((r - 22.0f) / 10.0f) * ((r - 22.0f) / 10.0f));
    return -8.0f + 0.95f * std::tanh(raw);
}

const std::vector<glm::vec2>& peopleSpots()
{
    static const std::vector<glm::vec2> spots = [] {
        std::vector<glm::vec2> out;
        auto at = [&](float angle, float fraction) {
            float r = roundedRadius(angle) * fraction;
            out.push_back(IslandCentre + r * glm::vec2(std::cos(angle), std::sin(angle)));
        };
        at(-2.2f, 0.12f); // near the top of the dome
        for (int i = 0; i < 5; ++i) at(0.35f + 2 * Pi * i / 5, 0.40f);
        for (int i = 0; i < 7; ++i) at(-0.15f + 2 * Pi * i / 7 + 0.06f * (i % 2), 0.70f);
        return out;
    }();
    return spots;
}

float distanceToWalk(int index, glm::vec2 xz)
{
    const glm::vec2 spot = peopleSpots().at(static_cast<size_t>(index));
    const float x = std::clamp(xz.x, spot.x - PersonWalkBack, spot.x + PersonWalkAhead);
    return glm::length(xz - glm::vec2(x, spot.y));
}

namespace {

// Distance from point p to the segment a-b.
float distanceToSegment(glm::vec3 p, glm::vec3 a, glm::vec3 b)
{
    const glm::vec3 ab = b - a;
    const float t = std::clamp(glm::dot(p - a, ab) / glm::dot(ab, ab), 0.0f, 1.0f);
    return glm::length(p - (a + t * ab));
}

// Where the start view sees a person: lines from the eye to points on the
// body, across the walk and from the knees to the head of the tallest.
const std::vector<glm::vec3>& sightTargets()
{
    static const std::vector<glm::vec3> targets = [] {
        std::vector<glm::vec3> out;
        for (int i = 0; i < PeopleCount; ++i) {
            const glm::vec3 feet = personWorldPosition(i);
            for (float dx : {-0.3f, 0.4f, 1.1f})
                for (float up : {0.5f, 1.4f, 2.4f}) out.push_back(feet + glm::vec3(dx, up, 0));
        }
        return out;
    }();
    return targets;
}

// True when the palm's trunk or crown would stand in a person's walk or
// between the start view and a person. The crown is taken as an ellipsoid
// around the fronds: as wide as they reach, as deep as they hang.
bool inThePeoplesWay(const PalmSpot& palm)
{
    const glm::vec3 base(palm.xz.x, islandHeight(palm.xz.x, palm.xz.y), palm.xz.y);
    const glm::vec3 top = base + glm::vec3(palm.lean.x, palm.height, palm.lean.y);
    for (float t = 0; t <= 1.01f; t += 0.125f) {
        const glm::vec3 p = base + t * (top - base);
        if (p.y - base.y < PersonTallest + 0.3f)
            for (int i = 0; i < PeopleCount; ++i)
                if (distanceToWalk(i, {p.x, p.z}) < PalmClearOfWalk) return true;
    }
    const float wide = 0.85f * palm.reach, deep = 0.5f * palm.hang + 0.35f;
    const glm::vec3 squash(1, wide / deep, 1);
    const glm::vec3 crown = (top - glm::vec3(0, 0.4f * palm.hang, 0)) * squash;
    const glm::vec3 eye = StartEye * squash;
    for (const glm::vec3& target : sightTargets()) {
        if (distanceToSegment(crown, eye, target * squash) < wide) return true;
        for (float t = 0.25f; t < 1.0f; t += 0.25f)
            if (distanceToSegment(base + t * (top - base), StartEye, target) < 0.3f) return true;
    }
    return false;
}

} // namespace

const std::vector<PalmSpot>& palmSpots()
{
    static const std::vector<PalmSpot> spots = [] {
        std::vector<PalmSpot> out;
        Rng rng(0x5EA5A2u);
        auto polar = [](float radius, float angle) { return radius * glm::vec2(std::cos(angle), std::sin(angle)); };
        for (int group = 0; group < 4000 && static_cast<int>(out.size()) < PalmCount; ++group) {
            // Groups stand all over the island: some inland, some on the
            // beach, and a palm or two on the very edge of the sand leaning
            // out over the water. Groups keep well apart, so the beach has
            // open stretches between them.
            const float angle = rng.range(-Pi, Pi);
            const double zone = rng.uniform();
            const bool edge = zone < 0.15, beach = zone < 0.55;
            const float fraction = edge ? rng.range(0.86f, 0.92f)
                : beach               ? rng.range(0.62f, 0.84f)
                                      : std::sqrt(rng.range(0.12f * 0.12f, 0.6f * 0.6f));
            const glm::vec2 centre = IslandCentre + polar(coastRadius(angle) * fraction, angle);
            const glm::vec2 outward = glm::normalize(centre - IslandCentre);
            const int wanted = edge ? 1 + rng.below(2) : rng.uniform() < 0.2 ? 1 : 2 + rng.below(4);
            const int size = std::min(wanted, PalmCount - static_cast<int>(out.size()));
            const size_t first = out.size();
            for (int member = 0; member < size; ++member)
                for (int attempt = 0; attempt < 12; ++attempt) {
                    PalmSpot palm{};
                    palm.xz = member == 0 ? centre : centre + polar(rng.range(0.8f, 1.7f), rng.range(-Pi, Pi));
                    palm.height = rng.range(PalmHeightLow, PalmHeightHigh);
                    palm.reach = rng.range(1.2f, 1.9f);
                    palm.hang = rng.range(0.4f, 1.3f);
                    palm.seed = static_cast<uint32_t>(rng.next());
                    // Palms lean towards the sea and away from their neighbours,
                    // those on the beach the most, those on the edge of the
                    // sand far out over the water.
                    const float spot = islandFraction(palm.xz.x, palm.xz.y);
                    glm::vec2 away = palm.xz - centre;
                    if (glm::length(away) > 0.01f) away = glm::normalize(away);
                    glm::vec2 dir = edge ? outward * 2.0f + polar(0.4f, rng.range(-Pi, Pi))
                                         : outward * (0.3f + fraction) + away * 0.8f + polar(0.6f, rng.range(-Pi, Pi));
                    dir = glm::length(dir) > 0.01f ? glm::normalize(dir) : outward;
                    palm.lean = dir * palm.height *
                        (edge ? rng.range(0.4f, 0.55f) : rng.range(0.06f, 0.12f + 0.35f * fraction));
                    const float ground = islandHeight(palm.xz.x, palm.xz.y);
                    bool fits = spot < (edge ? 0.93f : 0.86f) && ground > WaterLevel + 0.15f && !inThePeoplesWay(palm);
                    // Close within a group, well apart from the others.
                    for (size_t j = 0; fits && j < out.size(); ++j)
                        fits = glm::length(out[j].xz - palm.xz) >= (j >= first ? 0.8f : 3.2f);
                    if (fits) {
                        out.push_back(palm);
                        break;
                    }
                }
        }
        if (static_cast<int>(out.size()) != PalmCount) throw std::logic_error("the island has no room for every palm");
        return out;
    }();
    return spots;
}

glm::vec3 personWorldPosition(int index)
{
    glm::vec2 p = peopleSpots().at(static_cast<size_t>(index));
    return {p.x, islandHeight(p.x, p.y), p.y};
}

} // namespace datagen::layout
