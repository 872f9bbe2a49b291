#include "game/Splashes.h"

#include <glm/geometric.hpp>

#include <algorithm>
#include <cmath>

namespace Skyhog::Game {
namespace {

// Sizes are the half-widths of each splash's square, in world units.
constexpr float RingSize = 0.9f;
constexpr float BurstSize = 0.45f;
constexpr float SpotSize = 0.42f;
constexpr float HitSize = 1.1f;

// A number in [0, 1) that differs from splash to splash, without touching rand().
float seedFor(std::uint32_t n)
{
    n = (n ^ 61u) ^ (n >> 16);
    n *= 9u;
    n ^= n >> 4;
    n *= 0x27d4eb2du;
    n ^= n >> 15;
    return static_cast<float>(n & 0xffffu) / 65536.0f;
}

} // namespace

void Splashes::start(InstanceKind kind, const glm::vec3& at, float size)
{
    if (count_ == MaxSplashes) {
        // Full: the oldest gives way.
        std::move(splashes_.begin() + 1, splashes_.end(), splashes_.begin());
        --count_;
    }
    splashes_[static_cast<std::size_t>(count_++)] = Splash{at, size, 0.0f, seedFor(started_++), kind};
}

void Splashes::burst(const glm::vec3& at)
{
    start(InstanceKind::HitBurst, at, HitSize);
    writeInstances();
}

void Splashes::update(float deltaTime, std::span<const Landing> landings)
{
    const float step = deltaTime > 0.0f && std::isfinite(deltaTime) ? deltaTime : 0.0f;
    // Age every splash; the faded ones leave from the front.
    for (int i = 0; i < count_; ++i) splashes_[static_cast<std::size_t>(i)].age += step;
    const auto alive = std::remove_if(splashes_.begin(), splashes_.begin() + count_,
                                      [](const Splash& splash) { return splash.age >= Lifetime; });
    count_ = static_cast<int>(alive - splashes_.begin());

    sinceBurst_ += step;
    sinceSpot_ += step;
    if (!landings.empty()) startWhereItLands(landings.back());
    writeInstances();
}

void Splashes::startWhereItLands(const Landing& landing)
{
    if (sinceBurst_ >= BurstInterval) {
        sinceBurst_ = 0.0f;
        if (landing.sea) start(InstanceKind::SeaRing, landing.at, RingSize);
        start(landing.sea ? InstanceKind::SeaBurst : InstanceKind::SandBurst, landing.at, BurstSize);
    }
    if (!landing.sea && sinceSpot_ >= SpotInterval &&
        (glm::distance(landing.at, lastSpot_) >= SpotSpacing || sinceSpot_ >= SpotRefresh)) {
        sinceSpot_ = 0.0f;
        lastSpot_ = landing.at;
        start(InstanceKind::WetSpot, landing.at, SpotSize);
    }
}

void Splashes::writeInstances()
{
    for (int i = 0; i < count_; ++i) {
        const Splash& splash = splashes_[static_cast<std::size_t>(i)];
        const std::size_t index = static_cast<std::size_t>(Stride * i);
        positionSizeData_[index + 0] = splash.at.x;
        positionSizeData_[index + 1] = splash.at.y;
        positionSizeData_[index + 2] = splash.at.z;
        positionSizeData_[index + 3] = splash.size;
        // The stream's own colour; the program lightens or darkens it per kind.
        for (std::size_t c = 0; c < 4; ++c) colorData_[index + c] = ParticlePool::Colour[c];
        const std::size_t motion = static_cast<std::size_t>(MotionStride * i);
        motionData_[motion + 0] = splash.seed;
        motionData_[motion + 1] = 0.0f;
        motionData_[motion + 2] = 0.0f;
        motionData_[motion + 3] = motionCode(splash.kind, splash.age);
        motionData_[motion + 4] = 0.0f;
    }
}

InstanceKind Splashes::kindAt(int i) const
{
    return splashes_[static_cast<std::size_t>(i)].kind;
}

glm::vec3 Splashes::positionAt(int i) const
{
    return splashes_[static_cast<std::size_t>(i)].at;
}

} // namespace Skyhog::Game
