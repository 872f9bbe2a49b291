// The pee stream's simulation, its splashes, the hit rule and a hit's points, without a GL context.
#include "game/HitTest.h"
#include "game/ParticlePool.h"
#include "game/ScorePopups.h"
#include "game/Splashes.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <tuple>

using namespace Skyhog::Game;

namespace {

const glm::vec3 Emitter(0.0f, 3.85f, 1.0f);

int alive(const ParticlePool& pool)
{
    int count = 0;
    for (const Particle& particle : pool.particles()) count += particle.life > 0.0f ? 1 : 0;
    return count;
}

// Ground that nothing ever reaches, so only a drop's five seconds end it.
Ground bottomless()
{
    return Ground(-1e6f);
}

// A flat square of sand at the given height, 200 units across, around the origin.
Ground sandAt(float height)
{
    const std::vector<glm::vec3> square = {{-100, height, -100}, {100, height, -100}, {100, height, 100},
                                           {-100, height, -100}, {100, height, 100},  {-100, height, 100}};
    return Ground(square, -5.0f);
}

} // namespace

TEST(ParticlePool, EmitsFiveHundredPerSecondCarryingTheFractionButAtMostEightAnUpdate)
{
    for (const auto& [step, expected] : {std::pair{0.004f, 2}, {0.0167f, 8}, {0.5f, 8}}) {
        ParticlePool pool(Emitter, bottomless());
        pool.update(step, Emitter);
        EXPECT_EQ(pool.particleCount(), expected) << "step " << step;
    }
    // 1/1000 s: one drop every other update. 1/60 s: 8 every update, the excess dropped.
    for (const auto& [step, updates, expected] : {std::tuple{0.001f, 10, 5}, {1.0f / 60.0f, 12, 96}}) {
        ParticlePool pool(Emitter, bottomless());
        for (int i = 0; i < updates; ++i) pool.update(step, Emitter);
        EXPECT_EQ(pool.particleCount(), expected) << "step " << step;
    }
    ParticlePool pool(Emitter);
    pool.update(-1.0f, Emitter); // a clock that went backwards emits and moves nothing
    EXPECT_EQ(pool.particleCount(), 0);
}

TEST(ParticlePool, AnUpdatesDropsAreSpreadOverItsStepTheNewestAtThePig)
{
    ParticlePool pool(Emitter, bottomless());
    pool.update(0.1f, Emitter);
    ASSERT_EQ(pool.particleCount(), 8);
    std::vector<float> heights;
    for (const Particle& particle : pool.particles()) {
        if (particle.life <= 0.0f) continue;
        heights.push_back(particle.position.y);
        // Each has fallen for its own part of the step and aged as much.
        const float fell = Emitter.y - particle.position.y;
        EXPECT_NEAR(5.0f - particle.life, fell / -particle.velocity.y, 1e-4f);
        EXPECT_LE(particle.life, 5.0f);
        EXPECT_GE(particle.size, 0.1f);
        EXPECT_LT(particle.size, 0.6f);
    }
    std::sort(heights.begin(), heights.end());
    EXPECT_FLOAT_EQ(heights.back(), Emitter.y); // the last one leaves as the step ends
    // The first left an eighth into the step; each fell about 1.5 units a step, give or take its spread.
    EXPECT_NEAR(heights.front(), Emitter.y - 1.5f * 7.0f / 8.0f, 0.1f);
    for (std::size_t i = 1; i < heights.size(); ++i) EXPECT_NEAR(heights[i] - heights[i - 1], 1.5f / 8.0f, 0.06f);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(pool.colorData()[4 * i + 0], 255);
        EXPECT_EQ(pool.colorData()[4 * i + 2], 51);
        EXPECT_EQ(pool.colorData()[4 * i + 3], 150);
    }
}

TEST(ParticlePool, TheStreamReachesTheSurfaceUnbrokenAtAnyFrameRateAndAnyMotion)
{
    // Full speed is 50 model units a second, 10 world units, along each held key.
    std::vector<glm::vec3> motions = {glm::vec3(0.0f)};
    for (int dx = -1; dx <= 1; ++dx)
        for (int dz = -1; dz <= 1; ++dz)
            if (dx != 0 || dz != 0) motions.push_back(10.0f * glm::vec3(dx, 0, dz));
    for (const float surface : {-5.0f, -3.25f}) { // the open sea, and sand at the island's top
        for (const float step : {0.2f, 0.1f, 1.0f / 30, 1.0f / 60, 1.0f / 144, 1.0f / 240, 1.0f / 1000}) {
            // The largest gap allowed: one step's fall and half a unit.
            const float allowed = 15.0f * step + 0.5f;
            for (const glm::vec3& velocity : motions) {
                ParticlePool pool(Emitter, surface > -5.0f ? sandAt(surface) : Ground(-5.0f));
                glm::vec3 pig = Emitter;
                int counted = 0, good = 0;
                std::vector<float> heights;
                for (float t = step; t <= 6.0f; t += step) {
                    pig += velocity * step;
                    pool.update(step, pig);
                    if (t < 1.0f) continue;
                    heights.assign({pig.y});
                    for (const Particle& particle : pool.particles())
                        if (particle.life > 0.0f) heights.push_back(particle.position.y);
                    std::sort(heights.begin(), heights.end(), std::greater<float>());
                    float gap = 0.0f;
                    for (std::size_t i = 1; i < heights.size(); ++i) gap = std::max(gap, heights[i - 1] - heights[i]);
                    ++counted;
                    good += gap <= allowed && heights.back() - surface <= allowed ? 1 : 0;
                }
                EXPECT_GE(good, counted * 95 / 100) << "surface " << surface << ", step " << step << ", moving ("
                                                    << velocity.x << ", " << velocity.z << ")";
            }
        }
    }
}

TEST(ParticlePool, ADropThatReachesTheSurfaceLeavesAndItsLandingCounts)
{
    // A ramp of sand rising from the sea towards +x: drops land on it where it
    // stands above the sea, on the sea beyond it, and never under either.
    const std::vector<glm::vec3> ramp = {{0, -6, -10}, {10, -2, -10}, {10, -2, 10},
                                         {0, -6, -10}, {10, -2, 10},  {0, -6, 10}};
    const Ground ground(ramp, -5.0f);
    EXPECT_FLOAT_EQ(ground.surfaceAt(5.0f, 0.0f), -4.0f);
    EXPECT_FLOAT_EQ(ground.surfaceAt(1.0f, 3.0f), -5.0f); // the ramp is under the sea here
    EXPECT_FLOAT_EQ(ground.surfaceAt(50.0f, 0.0f), -5.0f);
    EXPECT_FLOAT_EQ(ground.surfaceAt(std::nanf(""), 0.0f), -5.0f);
    EXPECT_FALSE(ground.seaAt(7.5f, 2.0f));

    for (const auto& [x, surface, sea] : {std::tuple{7.5f, -3.0f, false}, {1.0f, -5.0f, true}}) {
        ParticlePool pool(glm::vec3(x, 3.85f, 0.0f), ground);
        int landed = 0;
        for (int i = 0; i < 120; ++i) {
            pool.update(1.0f / 60.0f, glm::vec3(x, 3.85f, 0.0f));
            for (const Particle& particle : pool.particles()) {
                if (particle.life <= 0.0f) continue;
                ASSERT_GE(particle.position.y, ground.surfaceAt(particle.position.x, particle.position.z));
            }
            for (const Landing& landing : pool.landings()) {
                ASSERT_FLOAT_EQ(landing.at.y, ground.surfaceAt(landing.at.x, landing.at.z));
                ASSERT_NEAR(landing.at.y, surface, 0.2f); // the drops spread a little on the way down
                ASSERT_EQ(landing.sea, sea);
            }
            landed += static_cast<int>(pool.landings().size());
            // The hit test sees the living drops and where this update's drops landed.
            ASSERT_EQ(pool.recordedPositions().size(), pool.particleCount() + pool.landings().size());
            ASSERT_LE(pool.particleCount(), ParticlePool::MaxParticles);
        }
        EXPECT_GT(landed, 300) << "at x " << x; // about 500 a second after the first half second
    }
}

TEST(ParticlePool, ADropLivesFiveSecondsAtMostAndItsSlotComesBack)
{
    ParticlePool pool(Emitter, bottomless());
    pool.update(0.0167f, Emitter); // 8 drops with at most 5 s to live
    pool.update(5.01f, Emitter);   // they die; 8 new ones are spread over the step
    EXPECT_EQ(pool.particleCount(), 8);
    EXPECT_EQ(alive(pool), 8);

    // A life that lands exactly on zero frees its slot for reuse: the newest
    // drop of a 0.5 s step leaves as it ends, with 5 s to live.
    ParticlePool exact(Emitter, bottomless());
    exact.update(0.5f, Emitter);
    exact.update(5.0f, Emitter); // the 8 die, the newest at exactly 0; 8 more are born
    EXPECT_EQ(alive(exact), 8);
    for (int i = 0; i < 60; ++i) exact.update(0.0167f, Emitter);
    EXPECT_EQ(alive(exact), ParticlePool::MaxParticles); // every slot, the zero-life one included, was taken again
}

TEST(ParticlePool, AFullPoolRestartsItsOldestDrops)
{
    ParticlePool pool(Emitter, bottomless());
    EXPECT_EQ(pool.findFreeSlot(), 0);
    while (alive(pool) < ParticlePool::MaxParticles) pool.update(0.0167f, Emitter);
    std::vector<std::uint32_t> before;
    for (const Particle& particle : pool.particles()) before.push_back(particle.sequence);
    std::sort(before.begin(), before.end());
    pool.update(0.0167f, Emitter);
    std::vector<std::uint32_t> after;
    for (const Particle& particle : pool.particles()) after.push_back(particle.sequence);
    std::sort(after.begin(), after.end());
    // The 8 oldest made way for 8 new ones.
    EXPECT_EQ(std::vector<std::uint32_t>(after.begin(), after.end() - 8),
              std::vector<std::uint32_t>(before.begin() + 8, before.end()));
    EXPECT_EQ(after.back(), before.back() + 8);
}

TEST(ParticlePool, SortsFarOnesFirstWithDeadSlotsLast)
{
    ParticlePool pool(Emitter);
    for (int i = 0; i < 5; ++i) pool.update(0.0167f, Emitter);
    const auto& particles = pool.particles();
    for (std::size_t i = 1; i < particles.size(); ++i) {
        EXPECT_GE(particles[i - 1].cameraDistance, particles[i].cameraDistance);
    }
    EXPECT_LT(particles.back().cameraDistance, 0.0f);
}

TEST(Splashes, LandingsSplashAtAFixedPaceAndFadeWithinASecond)
{
    // A hovering stream at a thousand updates a second and at five: the same
    // few splashes, never more than the array holds, and none older than a second.
    for (const auto& [sea, step] : {std::tuple{true, 0.001f}, {true, 0.2f}, {false, 0.001f}, {false, 0.2f}}) {
        Splashes splashes;
        const std::vector<Landing> landing = {{glm::vec3(1.0f, sea ? -5.0f : -3.2f, 2.0f), sea}};
        int most = 0;
        for (float t = 0.0f; t < 3.0f; t += step) {
            splashes.update(step, landing);
            most = std::max(most, splashes.count());
            for (int i = 0; i < splashes.count(); ++i) {
                const InstanceKind kind = splashes.kindAt(i);
                const bool onSea = kind == InstanceKind::SeaRing || kind == InstanceKind::SeaBurst;
                ASSERT_EQ(onSea, sea);
                ASSERT_LT(splashes.motionData()[Splashes::MotionStride * i + 3] - 10.0f * static_cast<float>(kind),
                          Splashes::Lifetime);
            }
        }
        EXPECT_GT(most, 2);
        EXPECT_LE(most, 2 * static_cast<int>(Splashes::Lifetime / Splashes::BurstInterval) + 3) << "step " << step;
        splashes.update(Splashes::Lifetime, {});
        EXPECT_EQ(splashes.count(), 0);
    }
    // A hit's burst is at the person.
    Splashes splashes;
    splashes.burst({3.0f, 1.0f, 4.0f});
    ASSERT_EQ(splashes.count(), 1);
    EXPECT_EQ(splashes.kindAt(0), InstanceKind::HitBurst);
    EXPECT_EQ(splashes.positionAt(0), glm::vec3(3.0f, 1.0f, 4.0f));
}

TEST(ScorePopups, AHitsPointsStartAtThePersonOnScreenThenRiseAndFade)
{
    // Looking along +z from the origin: a point straight ahead is the middle
    // of the 800 x 600 text space, one behind the eye is nowhere.
    const glm::mat4 viewProjection = glm::perspective(1.0f, 4.0f / 3.0f, 0.1f, 100.0f) *
        glm::lookAt(glm::vec3(0.0f), glm::vec3(0.0f, 0.0f, 1.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    ScorePopups popups;
    popups.start({0.0f, 0.0f, 10.0f});
    popups.start({0.0f, 0.0f, -10.0f});
    const auto ahead = popups.shown(0, viewProjection);
    ASSERT_TRUE(ahead);
    EXPECT_NEAR(ahead->textPoint.x, 400.0f, 1e-3f);
    EXPECT_NEAR(ahead->textPoint.y, 300.0f, 1e-3f);
    EXPECT_FLOAT_EQ(ahead->opacity, 1.0f);
    EXPECT_FALSE(popups.shown(1, viewProjection));

    popups.advance(0.6f);
    const auto later = popups.shown(0, viewProjection);
    ASSERT_TRUE(later);
    EXPECT_NEAR(later->textPoint.x, 400.0f, 1e-3f);
    EXPECT_GT(later->textPoint.y, 320.0f);
    EXPECT_LT(later->opacity, 0.8f);
    EXPECT_GT(later->opacity, 0.2f);
    popups.advance(0.5f);
    EXPECT_EQ(popups.count(), 0);
}

namespace {

const Box Pig{{-0.5f, 3.0f, 0.0f}, {0.5f, 4.0f, 2.0f}};
const Box Person{{1.0f, -4.0f, 5.0f}, {1.6f, -2.0f, 5.4f}};

std::optional<std::size_t> hit(std::vector<Box> people, std::vector<glm::vec3> positions, std::string* log = nullptr)
{
    std::ostringstream out;
    auto result = findHit(Pig, people, positions, out);
    if (log) *log = out.str();
    return result;
}

} // namespace

TEST(HitTest, AParticleInsideThePersonsBoxHits)
{
    std::string log;
    EXPECT_EQ(hit({Person}, {{1.3f, -3.0f, 5.2f}}, &log), std::optional<std::size_t>(0));
    EXPECT_EQ(log, " same depth totally hit that person");
    // At the top or below it in y still counts: the stream lands on the head.
    EXPECT_TRUE(hit({Person}, {{1.3f, -2.0f, 5.2f}}));
    EXPECT_TRUE(hit({Person}, {{1.3f, -9.0f, 5.2f}}));
}

TEST(HitTest, AParticleBesideOrAboveThePersonMisses)
{
    EXPECT_FALSE(hit({Person}, {{0.9f, -3.0f, 5.2f}})); // left of the box
    EXPECT_FALSE(hit({Person}, {{1.3f, -3.0f, 5.5f}})); // behind it
    EXPECT_FALSE(hit({Person}, {{1.3f, -1.9f, 5.2f}})); // still above the head
    EXPECT_FALSE(hit({Person}, {}));
    EXPECT_FALSE(hit({}, {{1.3f, -3.0f, 5.2f}}));
}

TEST(HitTest, OnlyPeopleAtThePigsDepthAreExaminedAndEachWritesSameDepth)
{
    const Box farAway{{1.0f, -4.0f, 30.0f}, {1.6f, -2.0f, 30.4f}};
    std::string log;
    EXPECT_FALSE(hit({farAway}, {{1.3f, -3.0f, 30.2f}}, &log));
    EXPECT_EQ(log, "");
    EXPECT_FALSE(hit({Person, Person}, {{9.0f, 0.0f, 0.0f}}, &log));
    EXPECT_EQ(log, " same depth  same depth ");
}

TEST(HitTest, AtMostOnePersonPerCallTheFirstInOrder)
{
    const Box second{{1.0f, -4.0f, 4.0f}, {1.6f, -2.0f, 6.0f}};
    EXPECT_EQ(hit({Person, second}, {{1.3f, -3.0f, 5.2f}}), std::optional<std::size_t>(0));
}

TEST(HitTest, ALeftoverFromAnEarlierUpdateCannotHit)
{
    // The stream keeps only the latest update's survivors: a particle that fell
    // past the person long ago is gone from the list the test sees.
    ParticlePool pool(glm::vec3(1.3f, 3.0f, 5.2f));
    for (int i = 0; i < 30; ++i) pool.update(0.0167f, {1.3f, 3.0f, 5.2f});
    ASSERT_TRUE(hit({Person}, pool.recordedPositions()));                     // right over the person: a hit
    for (int i = 0; i < 400; ++i) pool.update(0.0167f, {50.0f, 3.0f, 50.0f}); // the pig flew away
    EXPECT_FALSE(hit({Person}, pool.recordedPositions()));
}

TEST(HitTest, BoxFromCornersOrdersEachAxis)
{
    const Box box = boxFromCorners({3, -1, 2, 1}, {1, 4, -2, 1});
    EXPECT_EQ(box.min, glm::vec3(1, -1, -2));
    EXPECT_EQ(box.max, glm::vec3(3, 4, 2));
}
