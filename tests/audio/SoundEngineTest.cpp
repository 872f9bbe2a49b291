// The engine on a device that plays into nothing (ALSOFT_DRIVERS=null): what
// starts, what is decoded, what is reclaimed, what is reported.
#include "audio/SoundEngine.h"
#include "tests/audio/ToneFiles.h"
#include "tests/support/TempTree.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

namespace Skyhog::Audio {
namespace {

using namespace std::chrono_literals;
using SkyhogTest::waitFor;
using SkyhogTest::writeTone;

bool reaches(const SoundEngine& engine, SoundHandle sound, SoundState wanted)
{
    return waitFor([&] { return engine.state(sound) == wanted; });
}

class SoundEngineTest : public testing::Test {
protected:
    void SetUp() override
    {
        engine = SoundEngine::create();
        ASSERT_NE(engine, nullptr);
        if (engine->silent()) GTEST_SKIP() << "no sound output device (run with ALSOFT_DRIVERS=null)";
    }
    void TearDown() override { SoundEngine::setStreamThreshold(10.0); }

    SkyhogTest::TempTree dir;
    std::unique_ptr<SoundEngine> engine;
};

TEST_F(SoundEngineTest, LongMusicStartsAtOnceWithoutBeingDecodedWhole)
{
    const std::string music = dir.path("music.mp3");
    ASSERT_NO_FATAL_FAILURE(writeTone(music, 220.0, 60.0));
    const std::size_t decodedBefore = SoundEngine::decodedFileCount();

    // No call waits on a file: a pipe that nobody writes to holds up whoever
    // opens it, and that must be the engine's worker, never the caller.
    const std::string pipe = dir.path("pipe.wav");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const SoundHandle stuck = engine->play2D(pipe, false);
    const SoundHandle sound = engine->play2D(music, true);
    // The calls came back. Once the worker waits on the pipe, give it a few
    // bytes that are no sound and an end, and it goes on.
    EXPECT_TRUE(waitFor([&] {
        const int writer = open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
        if (writer < 0) return false; // nobody is reading yet
        [[maybe_unused]] const ssize_t written = write(writer, "not a sound", 11);
        close(writer);
        return true;
    }));
    EXPECT_TRUE(reaches(*engine, stuck, SoundState::Finished));
    EXPECT_TRUE(reaches(*engine, sound, SoundState::Playing));
    EXPECT_EQ(SoundEngine::decodedFileCount(), decodedBefore) << "a minute of music went into memory";

    // Going away in the middle of everything does not wait for the music to end.
    for (int i = 0; i < 20; ++i) engine->play2D(music, i % 2 == 0);
    const auto destroying = std::chrono::steady_clock::now();
    engine = nullptr;
    EXPECT_LT(std::chrono::steady_clock::now() - destroying, SkyhogTest::Patience);
}

TEST_F(SoundEngineTest, ShortStreamsEndOnTheirOwnAndLoopsUntilStopped)
{
    SoundEngine::setStreamThreshold(0.1);
    const std::string tune = dir.path("tune.wav");
    ASSERT_NO_FATAL_FAILURE(writeTone(tune, 440.0, 0.4));

    const SoundHandle once = engine->play2D(tune, false);
    const SoundHandle looped = engine->play2D(tune, true);
    ASSERT_TRUE(reaches(*engine, looped, SoundState::Playing));
    EXPECT_TRUE(reaches(*engine, once, SoundState::Finished));
    std::this_thread::sleep_for(600ms); // well past the tune's own length
    EXPECT_EQ(engine->state(looped), SoundState::Playing);
    engine->stop(looped);
    EXPECT_TRUE(waitFor([&] { return engine->voiceCount() == 0; }));
}

TEST_F(SoundEngineTest, EachFileIsDecodedOnceForAllEngines)
{
    const std::string pain = dir.path("pain.wav");
    const std::string splash = dir.path("splash.mp3");
    ASSERT_NO_FATAL_FAILURE(writeTone(pain, 660.0, 0.3));
    ASSERT_NO_FATAL_FAILURE(writeTone(splash, 330.0, 0.3));
    auto other = SoundEngine::create();
    const std::size_t decodedBefore = SoundEngine::decodedFileCount();

    // Both workers race for the undecoded file; it must still be decoded once.
    std::vector<std::pair<SoundEngine*, SoundHandle>> sounds;
    for (SoundEngine* on : {engine.get(), other.get(), engine.get(), other.get()})
        sounds.emplace_back(on, on->play2D(pain, false));
    sounds.emplace_back(other.get(), other->play2D(splash, false));
    for (const auto& [on, sound] : sounds)
        ASSERT_TRUE(waitFor([&] { return on->state(sound) != SoundState::Starting; }));
    EXPECT_EQ(SoundEngine::decodedFileCount(), decodedBefore + 2);
}

TEST_F(SoundEngineTest, UnplayableFilesAreNamedOnceAndPlayNothing)
{
    const std::vector<std::string> bad = {dir.path("missing.wav"), dir.path("garbage.mp3"), dir.path("garbage.wav")};
    for (const std::string& garbage : {bad[1], bad[2]}) {
        std::ofstream out(garbage, std::ios::binary);
        for (int i = 0; i < 6000; ++i) out.put(static_cast<char>(i * 7919 % 251));
    }
    const std::string good = dir.path("good.wav");
    ASSERT_NO_FATAL_FAILURE(writeTone(good, 440.0, 0.5));

    testing::internal::CaptureStdout();
    for (const bool loop : {false, true}) {
        for (const std::string& path : bad)
            EXPECT_TRUE(reaches(*engine, engine->play2D(path, loop), SoundState::Finished)) << path;
    }
    const SoundHandle fine = engine->play2D(good, true); // the engine is unharmed
    EXPECT_TRUE(reaches(*engine, fine, SoundState::Playing));
    std::istringstream said(testing::internal::GetCapturedStdout());

    std::vector<std::string> lines;
    for (std::string line; std::getline(said, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), bad.size()) << said.str();
    for (std::size_t i = 0; i < bad.size(); ++i) EXPECT_NE(lines[i].find(bad[i]), std::string::npos) << lines[i];
    EXPECT_EQ(engine->voiceCount(), 1u);
}

TEST_F(SoundEngineTest, OneShotVoicesAreReclaimedAndNeverCutTheMusic)
{
    const std::string pain = dir.path("pain.wav");
    const std::string sea = dir.path("sea.wav");
    ASSERT_NO_FATAL_FAILURE(writeTone(pain, 880.0, 0.05));
    ASSERT_NO_FATAL_FAILURE(writeTone(sea, 110.0, 0.5));
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
    EXPECT_TRUE(waitFor([&] { return engine->voiceCount() == 1; })) << engine->voiceCount();
    for (const SoundHandle cry : cries) EXPECT_EQ(engine->state(cry), SoundState::Finished);
    EXPECT_EQ(engine->state(loop), SoundState::Playing);
    EXPECT_TRUE(reaches(*engine, engine->play2D(pain, true), SoundState::Playing)) << "sources leaked";
}

// The game never destroys one of its engines. By the time the program's exit
// reaches static destruction and OpenAL's own teardown, that engine's worker
// must have stopped driving OpenAL.
SoundEngine* neverDestroyed = nullptr;
std::string exitSound;
int exitCode = 0;

void checkStoppedAtExit()
{
    // Registered before the engine existed, so this runs after the engine's exit hook.
    const bool stopped = neverDestroyed->voiceCount() == 0 && !neverDestroyed->play2D(exitSound, true);
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(exitSound).parent_path(), ignored);
    std::_Exit(stopped ? exitCode : 3);
}

TEST(SoundEngineExit, AnEngineNeverDestroyedIsStoppedBeforeTeardown)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    SkyhogTest::TempTree dir; // the child's own copy is removed by checkStoppedAtExit
    exitSound = dir.path("sea.wav");
    ASSERT_NO_FATAL_FAILURE(writeTone(exitSound, 110.0, 0.3));
    EXPECT_EXIT(
        {
            std::atexit(&checkStoppedAtExit);
            SoundEngine::setStreamThreshold(0.1); // a busy worker: every voice streams
            neverDestroyed = SoundEngine::create().release();
            for (int i = 0; i < 16; ++i) neverDestroyed->play2D(exitSound, true);
            exitCode = waitFor([] { return neverDestroyed->voiceCount() == 16; }) ? 0 : 2;
            std::exit(exitCode);
        },
        testing::ExitedWithCode(0), "");
}

} // namespace
} // namespace Skyhog::Audio
