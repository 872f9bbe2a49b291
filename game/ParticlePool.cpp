#include "game/ParticlePool.h"

#include "game/StreamInstance.h"

#include <glm/geometric.hpp>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace Skyhog::Game {
namespace {

// One random direction component in [-1, 0.999].
float randomUnit()
{
    return static_cast<float>((std::rand() % 2000 - 1000.0) / 1000.0);
}

} // namespace

ParticlePool::ParticlePool(const glm::vec3& emitter) : ParticlePool(emitter, Ground(Scene::Layout::WaterLevel)) {}

ParticlePool::ParticlePool(const glm::vec3& emitter, Ground ground)
    : ground_(std::move(ground)), previousEmitter_(emitter)
{
    for (Particle& particle : particles_) particle.position = emitter;
    recordedPositions_.reserve(2 * MaxParticles);
    landings_.reserve(MaxParticles);
    bySequence_.reserve(MaxParticles);
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
    // Every slot is alive: the drop with the least life left is the oldest.
    const auto oldest = std::min_element(particles_.begin(), particles_.end(),
                                         [](const Particle& a, const Particle& b) { return a.life < b.life; });
    return static_cast<int>(oldest - particles_.begin());
}

Particle& ParticlePool::emit(const glm::vec3& spawn, float lead)
{
    Particle& particle = particles_[findFreeSlot()];
    // The draws happen in this order on purpose: z, then y, then x, then the size.
    const float z = randomUnit();
    const float y = randomUnit();
    const float x = randomUnit();
    particle.velocity = glm::vec3(0.0f, -FallSpeed, 0.0f) + glm::vec3(x, y, z) * Spread;
    particle.r = Colour[0];
    particle.g = Colour[1];
    particle.b = Colour[2];
    particle.a = Colour[3];
    particle.size = static_cast<float>((std::rand() % 1000) / 2000.0 + 0.1);
    // The update moves every drop by the whole step; one that leaves `lead`
    // seconds into it starts that far back, so it ends the step having fallen
    // only for the rest of it, with that much of its life used.
    particle.position = spawn - particle.velocity * lead;
    particle.life = Lifetime + lead;
    particle.sequence = emitted_++;
    return particle;
}

void ParticlePool::emitAlong(float step, const glm::vec3& emitter)
{
    const double owedBefore = owed_;
    owed_ += static_cast<double>(step) * EmissionRate;
    const int due = static_cast<int>(owed_);
    // Seconds into the step at which the first drop leaves, and between drops.
    double first = 0.0, interval = 0.0;
    int count = due;
    if (due > MaxNewPerUpdate) {
        // A long step: the most an update may emit, evenly over it; the rest is dropped.
        count = MaxNewPerUpdate;
        interval = static_cast<double>(step) / count;
        first = interval;
        owed_ -= due;
    } else {
        // Each drop leaves when the owed count reaches a whole one.
        interval = 1.0 / EmissionRate;
        first = (1.0 - owedBefore) * interval;
        owed_ -= count;
    }
    for (int n = 0; n < count; ++n) {
        const float lead = std::clamp(static_cast<float>(first + n * interval), 0.0f, step);
        emit(previousEmitter_ + (emitter - previousEmitter_) * (step > 0.0f ? lead / step : 1.0f), lead);
    }
}

float ParticlePool::cohesion(float age, float size)
{
    constexpr float Earliest = 0.13f, Spread = 0.06f, Width = 0.07f;
    // Sizes run from 0.1 to 0.6: the larger drops hold on longer.
    const float breaks = Earliest + Spread * std::clamp((size - 0.1f) * 2.0f, 0.0f, 1.0f);
    const float t = std::clamp((age - (breaks - Width)) / (2.0f * Width), 0.0f, 1.0f);
    return 1.0f - t * t * (3.0f - 2.0f * t);
}

void ParticlePool::writeInstance(const Particle& particle, bool overSea)
{
    const float age = Lifetime - particle.life;
    const float holding = cohesion(age, particle.size);
    // The drop's own spread so far, taken out while it is still in the stream.
    const glm::vec3 drift = (particle.velocity - glm::vec3(0.0f, -FallSpeed, 0.0f)) * age;
    const glm::vec3 drawn = particle.position - drift * holding;

    const std::size_t instance = static_cast<std::size_t>(particleCount_);
    instanceSequence_[instance] = particle.sequence;
    drawnAt_[instance] = drawn;
    const std::size_t index = Stride * instance;
    positionSizeData_[index + 0] = drawn.x;
    positionSizeData_[index + 1] = drawn.y;
    positionSizeData_[index + 2] = drawn.z;
    positionSizeData_[index + 3] = particle.size;
    colorData_[index + 0] = particle.r;
    colorData_[index + 1] = particle.g;
    colorData_[index + 2] = particle.b;
    colorData_[index + 3] = particle.a;
    const InstanceKind kind = overSea ? InstanceKind::DropOverSea : InstanceKind::Drop;
    const std::size_t motion = MotionStride * instance;
    motionData_[motion + 3] = motionCode(kind, age);
    motionData_[motion + 4] = holding;
}

void ParticlePool::writeLinks(const glm::vec3& emitter)
{
    bySequence_.clear();
    for (int i = 0; i < particleCount_; ++i) bySequence_.push_back(i);
    const auto sequenceOf = [this](int instance) { return instanceSequence_[static_cast<std::size_t>(instance)]; };
    std::sort(bySequence_.begin(), bySequence_.end(), [&](int a, int b) { return sequenceOf(a) < sequenceOf(b); });
    for (std::size_t k = 0; k < bySequence_.size(); ++k) {
        const std::size_t instance = static_cast<std::size_t>(bySequence_[k]);
        glm::vec3 link(0.0f);
        if (k + 1 < bySequence_.size()) {
            const int next = bySequence_[k + 1];
            if (sequenceOf(next) == sequenceOf(static_cast<int>(instance)) + 1u)
                link = drawnAt_[static_cast<std::size_t>(next)] - drawnAt_[instance];
        } else {
            // The newest drop left the pig at most a step ago: the stream runs on up to the pig.
            link = emitter - drawnAt_[instance];
        }
        if (glm::length(link) > MaxLink) link = glm::vec3(0.0f);
        const std::size_t motion = MotionStride * instance;
        motionData_[motion + 0] = link.x;
        motionData_[motion + 1] = link.y;
        motionData_[motion + 2] = link.z;
    }
}

void ParticlePool::update(float deltaTime, const glm::vec3& emitter)
{
    const float step = deltaTime > 0.0f && std::isfinite(deltaTime) ? deltaTime : 0.0f;
    emitAlong(step, emitter);
    previousEmitter_ = emitter;

    particleCount_ = 0;
    recordedPositions_.clear();
    landings_.clear();
    for (Particle& particle : particles_) {
        if (particle.life <= 0.0f) continue;
        particle.life -= step;
        if (particle.life <= 0.0f) {
            particle.cameraDistance = -1.0f;
            continue;
        }
        // A very weak upward pull: the stream falls practically straight.
        particle.velocity += glm::vec3(0.0f, 0.5f, 0.0f) * step * 0.0002f;
        particle.position += particle.velocity * step;

        const float surface = ground_.surfaceAt(particle.position.x, particle.position.z);
        if (particle.position.y < surface) {
            // Under the sea or in the sand nobody sees it or is hit by it: it
            // leaves the pool, and where it touched down is what counts.
            const glm::vec3 at(particle.position.x, surface, particle.position.z);
            landings_.push_back({at, surface <= ground_.seaLevel()});
            particle.life = -1.0f;
            particle.cameraDistance = -1.0f;
            continue;
        }
        const glm::vec3 offset = particle.position - SortOrigin;
        particle.cameraDistance = glm::dot(offset, offset);
        recordedPositions_.push_back(particle.position);
        writeInstance(particle, surface <= ground_.seaLevel());
        ++particleCount_;
    }
    writeLinks(emitter);
    for (const Landing& landing : landings_) recordedPositions_.push_back(landing.at);
    // Far ones first; dead slots (-1) end up behind the living.
    std::sort(particles_.begin(), particles_.end(),
              [](const Particle& a, const Particle& b) { return a.cameraDistance > b.cameraDistance; });
}

} // namespace Skyhog::Game
