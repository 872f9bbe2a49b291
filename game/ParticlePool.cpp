#include "game/ParticlePool.h"

#include <glm/geometric.hpp>

#include <algorithm>
#include <cstdlib>

namespace Skyhog::Game {
namespace {

// One random direction component in [-1, 0.999].
float randomUnit()
{
    return static_cast<float>((std::rand() % 2000 - 1000.0) / 1000.0);
}

} // namespace

ParticlePool::ParticlePool(const glm::vec3& emitter)
{
    for (Particle& particle : particles_) particle.position = emitter;
    recordedPositions_.reserve(MaxParticles);
}

int ParticlePool::findFreeSlot()
{
    for (int i = lastUsedParticle_; i < MaxParticles; ++i) {
        if (particles_[i].life <= 0.0f) {
            lastUsedParticle_ = i;
            return i;
        }
    }
    for (int i = 0; i < lastUsedParticle_; ++i) {
        if (particles_[i].life <= 0.0f) {
            lastUsedParticle_ = i;
            return i;
        }
    }
    return 0;
}

void ParticlePool::emit(const glm::vec3& emitter)
{
    Particle& particle = particles_[findFreeSlot()];
    particle.life = Lifetime;
    particle.position = emitter;
    // The draws happen in this order on purpose: z, then y, then x, then the size.
    const float z = randomUnit();
    const float y = randomUnit();
    const float x = randomUnit();
    particle.velocity = glm::vec3(0.0f, -15.0f, 0.0f) + glm::vec3(x, y, z) * 0.5f;
    particle.r = 255;
    particle.g = 255;
    particle.b = 51;
    particle.a = 150;
    particle.size = static_cast<float>((std::rand() % 1000) / 2000.0 + 0.1);
}

void ParticlePool::update(float deltaTime, const glm::vec3& emitter)
{
    const int emitted = std::clamp(static_cast<int>(deltaTime * EmissionRate), 0, MaxNewPerUpdate);
    for (int n = 0; n < emitted; ++n) emit(emitter);

    particleCount_ = 0;
    recordedPositions_.clear();
    for (Particle& particle : particles_) {
        if (particle.life <= 0.0f) continue;
        particle.life -= deltaTime;
        if (particle.life <= 0.0f) {
            particle.cameraDistance = -1.0f;
            continue;
        }
        // A very weak upward pull: the stream falls practically straight.
        particle.velocity += glm::vec3(0.0f, 0.5f, 0.0f) * deltaTime * 0.0002f;
        particle.position += particle.velocity * deltaTime;
        const glm::vec3 offset = particle.position - SortOrigin;
        particle.cameraDistance = glm::dot(offset, offset);
        recordedPositions_.push_back(particle.position);

        const std::size_t index = static_cast<std::size_t>(4 * particleCount_);
        positionSizeData_[index + 0] = particle.position.x;
        positionSizeData_[index + 1] = particle.position.y;
        positionSizeData_[index + 2] = particle.position.z;
        positionSizeData_[index + 3] = particle.size;
        colorData_[index + 0] = particle.r;
        colorData_[index + 1] = particle.g;
        colorData_[index + 2] = particle.b;
        colorData_[index + 3] = particle.a;
        ++particleCount_;
    }
    // Far ones first; dead slots (-1) end up behind the living.
    std::sort(particles_.begin(), particles_.end(),
              [](const Particle& a, const Particle& b) { return a.cameraDistance > b.cameraDistance; });
}

} // namespace Skyhog::Game
