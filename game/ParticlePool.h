// The pee stream's simulation: a fixed pool of drops emitted at the pig,
// falling, and leaving the pool where they land on the sea or the sand (or,
// at the latest, after five seconds). No OpenGL, so it is unit-tested
// directly; ParticleStream uploads and draws what this produces.
//
// Emission: 500 drops per second of time step, at most 8 per update. The
// fraction of a drop that a step leaves owed is carried to the next update,
// so the stream flows at any frame rate (at 1/1000 s, one drop every other
// update); beyond 8 the excess is dropped. Each new drop starts at its own
// moment within the step, from where the pig was at that moment, so the drops
// of one update are spread along the stream instead of falling in a clump,
// and the newest starts right at the pig.
//
// Each update moves the living drops; a drop that has gone under the ground's
// surface (the sea, or the island's sand) leaves the pool at once, and its
// landing point is kept for the splashes and for the hit test. The survivors
// are written into the upload arrays and their positions, with this update's
// landing points, are recorded for the hit test. Only the latest update's
// positions are kept, so memory and the hit scan stay bounded by the pool.
//
// Random directions and sizes come from the C library's rand(), which the game
// never seeds, so every run draws the same sequence.
#pragma once
#include "game/Ground.h"
#include "render/SceneLayout.h"

#include <glm/vec3.hpp>

#include <array>
#include <cstdint>
#include <vector>

namespace Skyhog::Game {

struct Particle {
    glm::vec3 position{0.0f};
    glm::vec3 velocity{0.0f};
    std::uint8_t r = 0, g = 0, b = 0, a = 0;
    float size = 0.0f;
    float angle = 0.0f;
    float weight = 0.0f;
    float life = -1.0f;           // seconds left; 0 or less marks a free slot
    float cameraDistance = -1.0f; // squared distance from the sort origin; -1 when dead
    std::uint32_t sequence = 0;   // emission number: the next drop out has the next one
};

// Where a drop touched down in the latest update.
struct Landing {
    glm::vec3 at{0.0f};
    bool sea = true;
};

class ParticlePool {
public:
    static constexpr int MaxNewPerUpdate = 8;
    static constexpr double EmissionRate = 500.0; // drops per second of time step
    static constexpr float Lifetime = 5.0f;
    static constexpr float FallSpeed = 15.0f;                               // downwards, units per second
    static constexpr std::array<std::uint8_t, 4> Colour{255, 255, 51, 150}; // r, g, b, a of every drop
    static constexpr float Spread = 0.5f; // each component of the random direction is scaled by this

    // The pool holds every drop that can be in the air at once. The pig flies
    // at one height and the sea is the lowest surface, so the longest fall
    // takes 8.85 units / 14.5 units a second (the slowest the spread allows)
    // = 0.61 s; 500 drops a second make 306 of them in the air, and an update
    // adds up to 8 before the landed ones leave: 314 slots.
    static constexpr float EmitterHeight =
        Scene::Layout::ModelPrefixOffset.y + Scene::Layout::ModelPrefixScale * Scene::Layout::PigOffset.y;
    static constexpr double LongestFlight =
        (EmitterHeight - Scene::Layout::WaterLevel) / static_cast<double>(FallSpeed - Spread);
    static constexpr int MaxParticles = static_cast<int>(EmissionRate * LongestFlight) + 1 + MaxNewPerUpdate;

    // Values per drop in the position and colour arrays, and in the motion array.
    static constexpr int Stride = 4;
    static constexpr int MotionStride = 5;
    // A drop is drawn joined to the next one out only while they are closer than this.
    static constexpr float MaxLink = 2.0f;

    // How much a drop still belongs to the unbroken stream under the pig: 1
    // for its first 0.06 s of fall (0.12 s for the largest drops), then
    // falling to 0 within 0.14 s as the stream necks and breaks into drops.
    static float cohesion(float age, float size);

    // Drops land on the sea at the layout's water level and nothing else.
    explicit ParticlePool(const glm::vec3& emitter);
    ParticlePool(const glm::vec3& emitter, Ground ground);

    // Advances by deltaTime seconds (a negative step counts as none), emitting
    // new drops on the way from the previous update's emitter to this one.
    void update(float deltaTime, const glm::vec3& emitter);

    // Drops alive after the last update; the upload arrays hold this many.
    int particleCount() const { return particleCount_; }
    // Positions of the drops alive after the last update, then the points
    // where drops landed in it.
    const std::vector<glm::vec3>& recordedPositions() const { return recordedPositions_; }
    const std::vector<Landing>& landings() const { return landings_; }
    // x, y, z, size for each counted drop. Where it is drawn: while a drop
    // still belongs to the unbroken stream, its own spread is taken out
    // (by its cohesion), so the stream below the pig is one clean line.
    const std::array<float, Stride * MaxParticles>& positionSizeData() const { return positionSizeData_; }
    // r, g, b, a for each counted drop.
    const std::array<std::uint8_t, Stride * MaxParticles>& colorData() const { return colorData_; }
    // For each counted drop: x, y, z from where it is drawn to where the next
    // drop out is drawn (to the pig for the newest; 0 when there is none
    // near), motionCode(Drop or DropOverSea, age), and its cohesion.
    const std::array<float, MotionStride * MaxParticles>& motionData() const { return motionData_; }
    const std::array<Particle, MaxParticles>& particles() const { return particles_; }
    const Ground& ground() const { return ground_; }

    // The slot a new drop takes: the first free one from where the last
    // search ended, wrapping around; when every slot is alive, the oldest drop's.
    int findFreeSlot();

    static constexpr glm::vec3 SortOrigin{0.0f, 0.5f, 1.0f};

private:
    // New drops for a step of the given length, spread over it.
    void emitAlong(float step, const glm::vec3& emitter);
    // One new drop that leaves spawn `lead` seconds after the step's start.
    Particle& emit(const glm::vec3& spawn, float lead);
    // Writes a living drop as the next instance; overSea: the sea lies under it.
    void writeInstance(const Particle& particle, bool overSea);
    // Joins each counted drop to the next one out, in the motion array.
    void writeLinks(const glm::vec3& emitter);

    Ground ground_;
    std::array<Particle, MaxParticles> particles_{};
    std::array<float, Stride * MaxParticles> positionSizeData_{};
    std::array<std::uint8_t, Stride * MaxParticles> colorData_{};
    std::array<float, MotionStride * MaxParticles> motionData_{};
    // Per counted drop of the last update: its emission number and where it is drawn.
    std::array<std::uint32_t, MaxParticles> instanceSequence_{};
    std::array<glm::vec3, MaxParticles> drawnAt_{};
    std::vector<int> bySequence_; // instance indices, oldest drop first
    std::vector<glm::vec3> recordedPositions_;
    std::vector<Landing> landings_;
    int particleCount_ = 0;
    int lastUsedParticle_ = 0;
    double owed_ = 0.0; // drops due but not yet emitted, always under one after an update
    std::uint32_t emitted_ = 0;
    glm::vec3 previousEmitter_;
};

} // namespace Skyhog::Game
