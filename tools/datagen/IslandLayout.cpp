#include "IslandLayout.h"

#include "Noise.h"
#include "Random.h"

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

} // namespace

float coastRadius(float angle)
{
    // A few low harmonics make a rounded but irregular shore.
    return IslandRadius *
        (1.0f + 0.07f * std::sin(2 * angle + 1.1f) + 0.045f * std::sin(3 * angle + 2.3f) +
         0.025f * std::sin(5 * angle + 0.4f));
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
            float r = coastRadius(angle) * fraction;
            out.push_back(IslandCentre + r * glm::vec2(std::cos(angle), std::sin(angle)));
        };
        at(-2.2f, 0.12f); // near the top of the dome
        for (int i = 0; i < 5; ++i) at(0.35f + 2 * Pi * i / 5, 0.40f);
        for (int i = 0; i < 7; ++i) at(-0.15f + 2 * Pi * i / 7 + 0.06f * (i % 2), 0.70f);
        return out;
    }();
    return spots;
}

const std::vector<PalmSpot>& palmSpots()
{
    static const std::vector<PalmSpot> spots = [] {
        std::vector<PalmSpot> out;
        Rng rng(0x5EA5A1u);
        const std::vector<glm::vec2>& people = peopleSpots();
        for (int attempt = 0; attempt < 20000 && static_cast<int>(out.size()) < PalmCount; ++attempt) {
            float angle = rng.range(-Pi, Pi);
            // Uniform over the area between 12% and 86% of the coast radius.
            float fraction = std::sqrt(rng.range(0.12f * 0.12f, 0.86f * 0.86f));
            glm::vec2 p = IslandCentre + coastRadius(angle) * fraction * glm::vec2(std::cos(angle), std::sin(angle));
            bool clear = true;
            for (const PalmSpot& other : out) clear = clear && glm::length(other.xz - p) >= PalmSpacing;
            for (const glm::vec2& person : people) clear = clear && glm::length(person - p) >= PalmClearOfPeople;
            if (clear) out.push_back({p, static_cast<uint32_t>(rng.next())});
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
