// A hit is heard: with OpenAL writing its output into a WAV file, the game
// objects are built without the intro music, the sea loop is stopped, and
// the pig is steered over a person with Space held. The capture must be
// quiet before the hit and carry the pain sound after it.
#include "game/FlightCamera.h"
#include "game/FrameRenderer.h"
#include "game/ParticleStream.h"
#include "render/GlContext.h"
#include "render/ShaderLibrary.h"
#include "scene/World.h"
#include "tests/support/GlTestContext.h"
#include "tests/support/WaveFile.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <thread>

using namespace Skyhog;

namespace {

// The cry takes a voice of the engine, then gives it back; waits for both (30 s at most).
void letTheCryPlayOut(const Audio::SoundEngine& sound)
{
    const auto patience = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (sound.voiceCount() == 0 && std::chrono::steady_clock::now() < patience)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    while (sound.voiceCount() != 0 && std::chrono::steady_clock::now() < patience)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
}

} // namespace

TEST(PainSound, AHitIsAudibleInTheCapturedOutput)
{
    const char* wavePath = std::getenv("SKYHOG_CAPTURE_WAV");
    ASSERT_NE(wavePath, nullptr) << "run through CTest, which sets the wave writer up";
    const WindowSize size(320, 240);
    glViewport(0, 0, 320, 240);
    int hitAfterMs = -1;
    {
        ShaderLibrary shaders;
        Scene::World world(shaders, size.getWidth(), size.getHeight());
        Game::ParticleStream particles(glm::mat4(1.0f), shaders.get("Particle"), world.pig(), world.island());
        Game::FlightCamera camera(size, world.pig(), world, particles, 0.0);
        Game::FrameRenderer renderer(size, camera, world, shaders, particles);
        ASSERT_FALSE(camera.getSoundEngine().silent());
        camera.getSoundEngine().stop(camera.waveSound()); // silence, so only the hit is heard

        // Put the pig straight above the first person; the stream does the rest.
        Scene::Model* person = world.people().front();
        const glm::vec3 goal = (glm::vec3(person->worldMin()) + glm::vec3(person->worldMax())) * 0.5f;
        const glm::vec3 offset = (goal - glm::vec3(world.pig().modelMatrix()[3])) * 5.0f; // model units
        Game::KeyState keys{};
        camera.processKeys(keys, 0.0);
        world.pig().translate({offset.x, 0.0f, offset.z});
        world.pig().updateModelMatrix();

        // The stream lands on the person within half a second; Space is held
        // only after a second of frames, so that the capture's quiet start
        // outlasts a sound mixer slowed down by a busy machine.
        const auto start = std::chrono::steady_clock::now();
        float now = 0.0f;
        for (int frame = 0; frame < 300 && renderer.score() == 0; ++frame) {
            keys[Game::Key::Space] = frame >= 30;
            now += 1.0f / 30.0f;
            camera.tick(now);
            camera.processKeys(keys, now);
            renderer.updateParticles();
            camera.setPass("main");
            renderer.renderPass();
            // Keep the frames in real time so the quiet stretch is long enough to measure.
            std::this_thread::sleep_until(start + std::chrono::milliseconds(static_cast<int>(now * 1000)));
        }
        ASSERT_EQ(renderer.score(), 10);
        hitAfterMs = static_cast<int>(
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count());
        letTheCryPlayOut(camera.getSoundEngine());
    }
    ASSERT_GT(hitAfterMs, 300) << "too little quiet time before the hit to compare with";

    const SkyhogTest::Capture capture = SkyhogTest::readWave(wavePath);
    ASSERT_GT(capture.rate, 0) << "no WAV was written";
    const std::size_t rate = static_cast<std::size_t>(capture.rate);
    // Loudest 50 ms window: it must be well after the quiet start and clearly loud.
    const std::size_t window = rate / 20;
    float loudest = 0.0f;
    std::size_t loudestAt = 0;
    for (std::size_t at = 0; at + window <= capture.samples.size(); at += window / 2) {
        const float level = SkyhogTest::rms(capture.samples, at, at + window);
        if (level > loudest) loudest = level, loudestAt = at;
    }
    EXPECT_GT(loudest, 0.05f) << "the pain sound is not audible";
    const float quiet = SkyhogTest::rms(capture.samples, 0, rate / 5);
    EXPECT_LT(quiet, 0.01f) << "the capture was not quiet before the hit";
    EXPECT_GT(loudestAt, rate / 5) << "the loud part came before the hit";
}

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    SkyhogTest::installGlEnvironment(320, 240);
    return RUN_ALL_TESTS();
}
