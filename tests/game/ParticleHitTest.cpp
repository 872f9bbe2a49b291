// The pee stream's simulation and the hit rule, without a GL context.
#include "game/HitTest.h"
#include "game/ParticlePool.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace Skyhog::Game;

namespace {

const glm::vec3 Emitter(0.0f, 3.85f, 1.0f);

int alive(const ParticlePool& pool)
{
    int count = 0;
    for (const Particle& particle : pool.particles()) count += particle.life > 0.0f ? 1 : 0;
    return count;
}

} // namespace

TEST(ParticlePool, EmitsFiveHundredPerSecondOfStepButAtMostEight)
{
    for (const auto& [step, expected] : {std::pair{0.001f, 0}, {0.004f, 2}, {0.0167f, 8}, {0.5f, 8}}) {
        ParticlePool pool(Emitter);
        pool.update(step, Emitter);
        EXPECT_EQ(pool.particleCount(), expected) << "step " << step;
    }
    ParticlePool pool(Emitter);
    pool.update(-1.0f, Emitter); // a clock that went backwards emits nothing
    EXPECT_EQ(pool.particleCount(), 0);
}

TEST(ParticlePool, ThirteenStepsFillThePoolAndFurtherEmissionReusesSlots)
{
    ParticlePool pool(Emitter);
    for (int i = 0; i < 12; ++i) pool.update(0.0167f, Emitter);
    EXPECT_EQ(pool.particleCount(), 96);
    pool.update(0.0167f, Emitter);
    EXPECT_EQ(pool.particleCount(), 100);
    for (int i = 0; i < 10; ++i) pool.update(0.0167f, Emitter);
    EXPECT_EQ(pool.particleCount(), 100);
    EXPECT_EQ(pool.recordedPositions().size(), 100u);
}

TEST(ParticlePool, ANewParticleHasAlreadyMovedOneStepWhenFirstDrawn)
{
    ParticlePool pool(Emitter);
    pool.update(0.004f, Emitter);
    ASSERT_EQ(pool.particleCount(), 2);
    for (int i = 0; i < 2; ++i) {
        const float y = pool.positionSizeData()[4 * i + 1];
        const float size = pool.positionSizeData()[4 * i + 3];
        // Falling at about 15 units a second, give or take the random half unit.
        EXPECT_LT(y, Emitter.y - 0.004f * 14.4f);
        EXPECT_GT(y, Emitter.y - 0.004f * 15.6f);
        EXPECT_GE(size, 0.1f);
        EXPECT_LT(size, 0.6f);
        EXPECT_EQ(pool.colorData()[4 * i + 0], 255);
        EXPECT_EQ(pool.colorData()[4 * i + 2], 51);
        EXPECT_EQ(pool.colorData()[4 * i + 3], 150);
    }
    for (const Particle& particle : pool.particles()) {
        if (particle.life > 0.0f) {
            EXPECT_FLOAT_EQ(particle.life, 5.0f - 0.004f);
        }
    }
}

TEST(ParticlePool, DeadParticlesAreNeitherCountedNorRecordedAndTheirSlotsComeBack)
{
    ParticlePool pool(Emitter);
    pool.update(0.0167f, Emitter); // 8 particles with 5 s to live
    pool.update(4.99f, Emitter);   // they die; 8 new ones are born with 0.01 s left
    EXPECT_EQ(pool.particleCount(), 8);
    EXPECT_EQ(pool.recordedPositions().size(), 8u);
    EXPECT_EQ(alive(pool), 8);

    // A life that lands exactly on zero frees its slot for reuse.
    ParticlePool exact(Emitter);
    exact.update(0.5f, Emitter); // 8 particles at 4.5 s
    exact.update(4.5f, Emitter); // the first 8 reach exactly 0; 8 more are born
    EXPECT_EQ(alive(exact), 8);
    for (int i = 0; i < 12; ++i) exact.update(0.0167f, Emitter);
    EXPECT_EQ(alive(exact), 100); // every slot, the zero-life ones included, was taken again
}

TEST(ParticlePool, RecordedPositionsNeverOutgrowThePool)
{
    ParticlePool pool(Emitter);
    for (int i = 0; i < 1000; ++i) {
        pool.update(0.0167f, Emitter);
        ASSERT_LE(pool.recordedPositions().size(), static_cast<std::size_t>(ParticlePool::MaxParticles));
        ASSERT_EQ(pool.recordedPositions().size(), static_cast<std::size_t>(pool.particleCount()));
    }
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

TEST(ParticlePool, FreeSlotSearchWrapsAroundAndFallsBackToSlotZero)
{
    ParticlePool pool(Emitter);
    EXPECT_EQ(pool.findFreeSlot(), 0);
    for (int i = 0; i < 13; ++i) pool.update(0.0167f, Emitter);
    EXPECT_EQ(pool.findFreeSlot(), 0); // nothing free
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
