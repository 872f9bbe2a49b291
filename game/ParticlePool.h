// The pee stream's simulation: a fixed pool of 100 particles emitted at the
// pig, falling, and freed after five seconds. No OpenGL, so it is unit-tested
// directly; ParticleStream uploads and draws what this produces.
//
// Each update emits up to 8 particles (500 per second of time step), moves the
// living ones, writes the survivors into the upload arrays (only particles
// alive after the update are counted and drawn) and records their positions
// for the hit test. Only the latest update's positions are kept, so memory
// and the hit scan stay bounded by the pool size.
//
// Random directions and sizes come from the C library's rand(), which the game
// never seeds, so every run draws the same sequence.
#pragma once
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
};

class ParticlePool {
public:
    static constexpr int MaxParticles = 100;
    static constexpr int MaxNewPerUpdate = 8;
    static constexpr double EmissionRate = 500.0; // particles per second of time step
    static constexpr float Lifetime = 5.0f;

    explicit ParticlePool(const glm::vec3& emitter);

    // Advances by deltaTime seconds, emitting new particles at emitter.
    void update(float deltaTime, const glm::vec3& emitter);

    // Particles alive after the last update; the upload arrays hold this many.
    int particleCount() const { return particleCount_; }
    // Positions of the particles alive after the last update.
    const std::vector<glm::vec3>& recordedPositions() const { return recordedPositions_; }
    // x, y, z, size for each counted particle (4 floats each).
    const std::array<float, 4 * MaxParticles>& positionSizeData() const { return positionSizeData_; }
    // r, g, b, a for each counted particle.
    const std::array<std::uint8_t, 4 * MaxParticles>& colorData() const { return colorData_; }
    const std::array<Particle, MaxParticles>& particles() const { return particles_; }

    // The slot a new particle takes: the first free one from where the last
    // search ended, wrapping around; slot 0 when every slot is alive.
    int findFreeSlot();

    static constexpr glm::vec3 SortOrigin{0.0f, 0.5f, 1.0f};

private:
    void emit(const glm::vec3& emitter);

    std::array<Particle, MaxParticles> particles_{};
    std::array<float, 4 * MaxParticles> positionSizeData_{};
    std::array<std::uint8_t, 4 * MaxParticles> colorData_{};
    std::vector<glm::vec3> recordedPositions_;
    int particleCount_ = 0;
    int lastUsedParticle_ = 0;
};

} // namespace Skyhog::Game
