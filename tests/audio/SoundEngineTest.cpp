// The engine with a device that plays into nothing (ALSOFT_DRIVERS=null):
// what starts, what is decoded, what is reclaimed, what is reported.
#include "audio/SoundEngine.h"
#include "tests/audio/ToneFiles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <sstream>
#include <thread>
#include <vector>

namespace Skyhog::Audio {
namespace {

using namespace std::chrono_literals;
using Testing::ScratchDir;
using Testing::waitFor;

class SoundEngineTest : public testing::Test {
protected:
    void SetUp() override
    {
        engine = SoundEngine::create();
        ASSERT_NE(engine, nullptr);
        if (engine->silent()) GTEST_SKIP() << "no sound output device (run with ALSOFT_DRIVERS=null)";
    }

    static bool reaches(const SoundEngine& on, SoundHandle sound, SoundState wanted,
                        std::chrono::milliseconds timeout = 2s)
    {
        return waitFor([&] { return on.state(sound) == wanted; }, timeout);
    }

    static bool startedOrOver(const SoundEngine& on, SoundHandle sound)
    {
        return waitFor([&] { return on.state(sound) != SoundState::Starting; }, 2s);
    }

    ScratchDir dir;
    std::unique_ptr<SoundEngine> engine;
};

// Files longer than the threshold stream; keeps the default for the other tests.
class StreamThreshold {
public:
    explicit StreamThreshold(double seconds) { SoundEngine::setStreamThreshold(seconds); }
    ~StreamThreshold() { SoundEngine::setStreamThreshold(10.0); }
};

TEST_F(SoundEngineTest, LongMusicStartsAtOnceWithoutBeingDecodedWhole)
{
    const std::string music = dir.file("music.mp3");
    ASSERT_NO_FATAL_FAILURE(Testing::writeTone(music, 220.0, 60.0));
    const std::size_t decodedBefore = SoundEngine::decodedFileCount();

    const auto before = std::chrono::steady_clock::now();
    const SoundHandle sound = engine->play2D(music, true);
    const auto took = std::chrono::steady_clock::now() - before;

    EXPECT_LT(took, 100ms);
    ASSERT_TRUE(sound);
    EXPECT_TRUE(reaches(*engine, sound, SoundState::Playing, 500ms));
    EXPECT_EQ(SoundEngine::decodedFileCount(), decodedBefore) << "a minute of music was decoded into memory";

    engine->stop(sound);
    EXPECT_EQ(engine->state(sound), SoundState::Finished);
    EXPECT_TRUE(waitFor([&] { return engine->voiceCount() == 0; }, 1s));
}

TEST_F(SoundEngineTest, EachFileIsDecodedOnceForAllEngines)
{
    const std::string pain = dir.file("pain.wav");
    const std::string splash = dir.file("splash.mp3");
    ASSERT_NO_FATAL_FAILURE(Testing::writeTone(pain, 660.0, 0.3));
    ASSERT_NO_FATAL_FAILURE(Testing::writeTone(splash, 330.0, 0.3));
    auto other = SoundEngine::create();
    const std::size_t decodedBefore = SoundEngine::decodedFileCount();

    // Requests racing for the same undecoded file must still decode it once.
    std::vector<std::pair<SoundEngine*, SoundHandle>> sounds;
    for (int round = 0; round < 3; ++round) {
        sounds.emplace_back(engine.get(), engine->play2D(pain, false));
        sounds.emplace_back(other.get(), other->play2D(pain, false));
    }
    sounds.emplace_back(other.get(), other->play2D(splash, false));
    for (const auto& [on, sound] : sounds) ASSERT_TRUE(startedOrOver(*on, sound));

    EXPECT_EQ(SoundEngine::decodedFileCount(), decodedBefore + 2);
}

TEST_F(SoundEngineTest, UnplayableFilesAreNamedOnceAndPlayNothing)
{
    const std::string missing = dir.file("missing.wav");
    const std::string garbageMp3 = dir.file("garbage.mp3");
    const std::string garbageWav = dir.file("garbage.wav");
    const std::string good = dir.file("good.wav");
    ASSERT_NO_FATAL_FAILURE(Testing::writeGarbage(garbageMp3, 6000));
    ASSERT_NO_FATAL_FAILURE(Testing::writeGarbage(garbageWav, 6000));
    ASSERT_NO_FATAL_FAILURE(Testing::writeTone(good, 440.0, 0.5));

    testing::internal::CaptureStdout();
    for (int round = 0; round < 2; ++round) {
        for (const std::string& path : {missing, garbageMp3, garbageWav}) {
            const SoundHandle sound = engine->play2D(path, round == 0);
            EXPECT_TRUE(startedOrOver(*engine, sound));
            EXPECT_EQ(engine->state(sound), SoundState::Finished) << path;
        }
    }
    // The engine is unharmed.
    const SoundHandle fine = engine->play2D(good, true);
    EXPECT_TRUE(reaches(*engine, fine, SoundState::Playing));
    const std::string out = testing::internal::GetCapturedStdout();

    std::vector<std::string> lines;
    std::istringstream split(out);
    for (std::string line; std::getline(split, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), 3u) << out;
    EXPECT_NE(lines[0].find(missing), std::string::npos) << lines[0];
    EXPECT_NE(lines[1].find(garbageMp3), std::string::npos) << lines[1];
    EXPECT_NE(lines[2].find(garbageWav), std::string::npos) << lines[2];
    EXPECT_EQ(engine->voiceCount(), 1u);
}

TEST_F(SoundEngineTest, OneShotVoicesAreReclaimedAndNeverCutTheMusic)
{
    const std::string pain = dir.file("pain.wav");
    const std::string sea = dir.file("sea.wav");
    ASSERT_NO_FATAL_FAILURE(Testing::writeTone(pain, 880.0, 0.05));
    ASSERT_NO_FATAL_FAILURE(Testing::writeTone(sea, 110.0, 0.5));
    const SoundHandle loop = engine->play2D(sea, true);

    // More plays than OpenAL has sources: leaked sources would starve the last ones.
    std::vector<SoundHandle> cries;
    std::size_t mostVoices = 0;
    for (int i = 0; i < 300; ++i) {
        cries.push_back(engine->play2D(pain, false));
        if (i % 20 == 0) std::this_thread::sleep_for(2ms);
        mostVoices = std::max(mostVoices, engine->voiceCount());
    }
    EXPECT_LE(mostVoices, SoundEngine::maxVoices());

    EXPECT_TRUE(waitFor([&] { return engine->voiceCount() == 1; }, 3s)) << engine->voiceCount();
    for (const SoundHandle cry : cries) EXPECT_EQ(engine->state(cry), SoundState::Finished);
    EXPECT_EQ(engine->state(loop), SoundState::Playing);

    const SoundHandle probe = engine->play2D(pain, true);
    EXPECT_TRUE(reaches(*engine, probe, SoundState::Playing)) << "sources leaked";
}

TEST_F(SoundEngineTest, StreamsEndOnTheirOwnOrLoopUntilStopped)
{
    StreamThreshold streamEverything(0.1);
    const std::string shortTune = dir.file("tune.wav");
    ASSERT_NO_FATAL_FAILURE(Testing::writeTone(shortTune, 440.0, 0.4));
    const std::size_t decodedBefore = SoundEngine::decodedFileCount();

    const SoundHandle once = engine->play2D(shortTune, false);
    const SoundHandle looped = engine->play2D(shortTune, true);
    ASSERT_TRUE(reaches(*engine, once, SoundState::Playing));
    ASSERT_TRUE(reaches(*engine, looped, SoundState::Playing));
    EXPECT_TRUE(reaches(*engine, once, SoundState::Finished, 2s));

    std::this_thread::sleep_for(600ms); // well past the tune's own length
    EXPECT_EQ(engine->state(looped), SoundState::Playing);
    engine->stop(looped);
    EXPECT_TRUE(waitFor([&] { return engine->voiceCount() == 0; }, 1s));
    EXPECT_EQ(SoundEngine::decodedFileCount(), decodedBefore);
}

TEST_F(SoundEngineTest, EnginesShareTheDeviceAndCanComeAndGo)
{
    const std::string sea = dir.file("sea.wav");
    const std::string music = dir.file("music.wav");
    ASSERT_NO_FATAL_FAILURE(Testing::writeTone(sea, 110.0, 0.3));
    ASSERT_NO_FATAL_FAILURE(Testing::writeTone(music, 220.0, 20.0));

    auto intro = SoundEngine::create();
    intro->play2D(music, true);
    const SoundHandle waves = engine->play2D(sea, true);
    ASSERT_TRUE(reaches(*engine, waves, SoundState::Playing));

    // Destroying an engine in the middle of everything must be quick and must
    // leave the other engine's sounds alone.
    for (int i = 0; i < 20; ++i) intro->play2D(i % 2 ? sea : music, i % 3 == 0);
    const auto before = std::chrono::steady_clock::now();
    intro.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - before, 500ms);

    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(engine->state(waves), SoundState::Playing);
    const SoundHandle more = engine->play2D(music, false);
    EXPECT_TRUE(reaches(*engine, more, SoundState::Playing));

    // With every engine gone the device closes; a new engine opens it again.
    engine.reset();
    engine = SoundEngine::create();
    ASSERT_FALSE(engine->silent());
    const SoundHandle again = engine->play2D(sea, false);
    EXPECT_TRUE(reaches(*engine, again, SoundState::Playing));
}

} // namespace
} // namespace Skyhog::Audio

namespace Skyhog::Audio {
namespace {

// The game never destroys one of its engines. By the time the program's
// exit reaches static destruction and OpenAL's own teardown, that engine's
// worker must have stopped driving OpenAL.
SoundEngine* neverDestroyed = nullptr;
std::string exitSound;

void checkStoppedAtExit()
{
    // Registered before the engine existed, so this runs after its exit hook.
    const bool stopped = neverDestroyed->voiceCount() == 0 && !neverDestroyed->play2D(exitSound, true);
    std::_Exit(stopped ? 0 : 3);
}

TEST(SoundEngineExit, AnEngineNeverDestroyedIsStoppedBeforeTeardown)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    Testing::ScratchDir dir;
    exitSound = dir.file("sea.wav");
    ASSERT_NO_FATAL_FAILURE(Testing::writeTone(exitSound, 110.0, 0.3));

    EXPECT_EXIT(
        {
            std::atexit(&checkStoppedAtExit);
            SoundEngine::setStreamThreshold(0.1); // busy worker: every voice streams
            neverDestroyed = SoundEngine::create().release();
            for (int i = 0; i < 16; ++i) neverDestroyed->play2D(exitSound, true);
            if (!waitFor([] { return neverDestroyed->voiceCount() == 16; }, 2s)) std::_Exit(2);
            std::exit(0);
        },
        testing::ExitedWithCode(0), "");
}

} // namespace
} // namespace Skyhog::Audio
