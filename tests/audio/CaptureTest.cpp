// What reaches the speakers, captured by OpenAL Soft's wave writer (CTest runs
// these with ALSOFT_DRIVERS=wave, ALSOFT_CONF naming the capture file and
// SKYHOG_AUDIO_CAPTURE naming it again). The writer works in real time and the
// file is complete once the last engine is gone. Its clock drifts from ours by
// a tenth of a second or so, so the tests find where sound starts and stops in
// the capture itself.
#include "audio/SoundEngine.h"
#include "tests/audio/ToneFiles.h"
#include "tests/support/TempTree.h"
#include "tests/support/WaveFile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <numbers>
#include <thread>

namespace Skyhog::Audio {
namespace {

using namespace std::chrono_literals;

class Capture : public testing::Test {
protected:
    void SetUp() override
    {
        const char* driver = std::getenv("ALSOFT_DRIVERS");
        const char* file = std::getenv("SKYHOG_AUDIO_CAPTURE");
        if (driver == nullptr || std::string(driver) != "wave" || file == nullptr)
            GTEST_SKIP() << "needs ALSOFT_DRIVERS=wave and SKYHOG_AUDIO_CAPTURE (see CMakeLists.txt)";
        captureFile = file;
    }
    void TearDown() override { SoundEngine::setStreamThreshold(10.0); }

    SkyhogTest::TempTree dir;
    std::string captureFile;
};

TEST_F(Capture, Mp3ToneComesOutAtItsPitch)
{
    const std::string tone = dir.path("tone.mp3");
    ASSERT_NO_FATAL_FAILURE(SkyhogTest::writeTone(tone, 440.0, 1.0));
    auto engine = SoundEngine::create();
    ASSERT_FALSE(engine->silent());
    const SoundHandle sound = engine->play2D(tone, false);
    ASSERT_TRUE(SkyhogTest::waitFor([&] { return engine->state(sound) != SoundState::Starting; }));
    std::this_thread::sleep_for(700ms); // most of the tone's second
    engine = nullptr;

    const SkyhogTest::Capture out = SkyhogTest::readWave(captureFile, SkyhogTest::Mixdown::Sum);
    const auto [onset, end] = out.audible();
    ASSERT_GT(end - onset, 0.5) << "no tone in the capture";
    EXPECT_GT(out.rms(onset + 0.1, onset + 0.5), 0.1);
    EXPECT_NEAR(out.zeroCrossingFrequency(onset + 0.1, onset + 0.5), 440.0, 5.0);
}

// Loops of decoded sounds and of streamed ones wrap without a gap or a click,
// keep going past their length, and fall silent when their engine goes.
class CaptureLoop : public Capture, public testing::WithParamInterface<bool> {};

TEST_P(CaptureLoop, LoopIsSeamlessUntilItsEngineGoes)
{
    SoundEngine::setStreamThreshold(GetParam() ? 0.1 : 10.0);
    const std::string tone = dir.path("loop.wav"); // 110 whole periods: looped, one unbroken sine
    ASSERT_NO_FATAL_FAILURE(SkyhogTest::writeTone(tone, 440.0, 0.25));

    auto keeper = SoundEngine::create(); // holds the device open after the player goes
    auto player = SoundEngine::create();
    ASSERT_FALSE(player->silent());
    const SoundHandle loop = player->play2D(tone, true);
    ASSERT_TRUE(SkyhogTest::waitFor([&] { return player->state(loop) != SoundState::Starting; }));
    std::this_thread::sleep_for(1s); // four times round the loop
    EXPECT_EQ(player->state(loop), SoundState::Playing);
    player = nullptr;
    std::this_thread::sleep_for(500ms);
    keeper = nullptr;

    const SkyhogTest::Capture out = SkyhogTest::readWave(captureFile, SkyhogTest::Mixdown::Sum);
    const auto [onset, end] = out.audible();
    EXPECT_GT(end - onset, 0.7) << "the loop stopped early";
    EXPECT_GT(out.seconds() - end, 0.25) << "the loop outlived its engine";
    EXPECT_LT(out.rms(end + 0.05, out.seconds()), 1e-4);

    const double from = onset + 0.1;
    const double to = end - 0.1;
    ASSERT_GT(to - from, 0.5);
    EXPECT_NEAR(out.zeroCrossingFrequency(from, to), 440.0, 5.0);
    const double level = out.rms(from, to);
    EXPECT_GT(level, 0.1);
    // Pieces of four whole periods each have the same RMS in a steady tone.
    EXPECT_GT(out.quietestWindow(from, to, 4.0 / 440.0), 0.9 * level) << "the loop has a gap";
    // A sine of peak A never steps by more than A * 2 pi f / rate between samples.
    const double steadyStep = level * std::numbers::sqrt2 * 2.0 * std::numbers::pi * 440.0 / out.rate;
    EXPECT_LT(out.largestStep(from, to), 1.5 * steadyStep) << "the loop clicks";
}

INSTANTIATE_TEST_SUITE_P(Decoded, CaptureLoop, testing::Values(false));
INSTANTIATE_TEST_SUITE_P(Streamed, CaptureLoop, testing::Values(true));

} // namespace
} // namespace Skyhog::Audio
