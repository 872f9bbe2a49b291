// The splashes of the stream: rings and droplets on the sea where it lands, a
// burst and a darker wet spot on the sand, and a bigger burst on a person who
// is hit. Each fades within about a second. No OpenGL: ParticleStream draws
// the instances written here in the same instanced draw as the drops.
//
// A splash starts at most every so often, not for every landed drop, so
// their number does not follow the frame rate: hovering, rings keep spreading
// from one spot; flying, a trail of them follows the stream. A wet spot is
// laid again only once the stream has moved on or the last one has faded
// half away, so a hovering stream does not pile dark patches on one place.
#pragma once
#include "game/ParticlePool.h"
#include "game/StreamInstance.h"

#include <glm/vec3.hpp>

#include <array>
#include <cstdint>
#include <span>

namespace Skyhog::Game {

class Splashes {
public:
    static constexpr float Lifetime = 1.0f;      // seconds, every kind
    static constexpr float BurstInterval = 0.1f; // between the bursts (and sea rings) of the stream
    static constexpr float SpotInterval = 0.05f; // the soonest a new wet spot follows the last
    static constexpr float SpotSpacing = 0.35f;  // how far the stream moves before it wets a new spot
    static constexpr float SpotRefresh = 0.5f;   // ... or how old the last spot gets
    // Splashes of each cadence that can be alive at once, with room for a few hits.
    static constexpr int MaxSplashes =
        2 * static_cast<int>(Lifetime / BurstInterval + 1.0f) + static_cast<int>(Lifetime / SpotInterval + 1.0f) + 8;
    static constexpr int Stride = ParticlePool::Stride;
    static constexpr int MotionStride = ParticlePool::MotionStride;

    // Ages the splashes by deltaTime, then starts new ones where drops landed.
    void update(float deltaTime, std::span<const Landing> landings);
    // The splash of a hit, at a person.
    void burst(const glm::vec3& at);

    // Splashes alive; the upload arrays hold this many, oldest first.
    int count() const { return count_; }
    // x, y, z, size; r, g, b, a; seed, 0, 0, motionCode(kind, age), 0 for each splash.
    const std::array<float, Stride * MaxSplashes>& positionSizeData() const { return positionSizeData_; }
    const std::array<std::uint8_t, Stride * MaxSplashes>& colorData() const { return colorData_; }
    const std::array<float, MotionStride * MaxSplashes>& motionData() const { return motionData_; }

    // The splash in upload slot i.
    InstanceKind kindAt(int i) const;
    glm::vec3 positionAt(int i) const;

private:
    struct Splash {
        glm::vec3 at{0.0f};
        float size = 0.0f;
        float age = 0.0f;
        float seed = 0.0f;
        InstanceKind kind = InstanceKind::SeaRing;
    };

    void start(InstanceKind kind, const glm::vec3& at, float size);
    // The stream's own splashes at its latest landing point (the surface it meets now).
    void startWhereItLands(const Landing& landing);
    void writeInstances();

    std::array<Splash, MaxSplashes> splashes_{};
    int count_ = 0; // the first count_ entries are alive, oldest first
    float sinceBurst_ = BurstInterval;
    float sinceSpot_ = SpotRefresh;
    glm::vec3 lastSpot_{1e9f};
    std::uint32_t started_ = 0; // how many splashes have started, for each one's own pattern
    std::array<float, Stride * MaxSplashes> positionSizeData_{};
    std::array<std::uint8_t, Stride * MaxSplashes> colorData_{};
    std::array<float, MotionStride * MaxSplashes> motionData_{};
};

} // namespace Skyhog::Game
