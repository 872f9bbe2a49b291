// What reaches the speakers, captured by OpenAL Soft's wave writer. Registered
// to run with ALSOFT_DRIVERS=wave, ALSOFT_CONF naming the capture file and
// SKYHOG_AUDIO_CAPTURE naming it again for the test. The writer works in real
// time from the moment the device opens, so a time measured from the first
// engine's creation is a position in the capture (give or take a few updates).
// The device closes, and the file is complete, once the last engine is gone.
#include "audio/SoundEngine.h"
#include "tests/audio/ToneFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <string>
#include <thread>
#include <cstdio>

namespace Skyhog::Audio {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

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

    // Seconds from `opened` (just before the device opened) to now.
    double since(Clock::time_point opened) const
    {
        return std::chrono::duration<double>(Clock::now() - opened).count();
    }

    Testing::ScratchDir dir;
    std::string captureFile;
};

TEST_F(Capture, Mp3ToneComesOutAtItsPitch)
{
    const std::string tone = dir.file("tone.mp3");
    ASSERT_NO_FATAL_FAILURE(Testing::writeTone(tone, 440.0, 1.0));

    const auto opened = Clock::now();
    auto engine = SoundEngine::create();
    ASSERT_FALSE(engine->silent());
    engine->play2D(tone, false);
    const double started = since(opened);
    std::this_thread::sleep_for(700ms);
    engine.reset();

    const Testing::Capture out = Testing::readCapture(captureFile);
    ASSERT_GT(out.seconds(), started + 0.6);
    EXPECT_GT(out.rms(started + 0.2, started + 0.6), 0.1);
    EXPECT_NEAR(out.zeroCrossingFrequency(started + 0.2, started + 0.6), 440.0, 8.0);
}

// Loops of decoded sounds and of streamed ones wrap without a gap or a click,
// keep going past their length, and fall silent when their engine goes.
class CaptureLoop : public Capture, public testing::WithParamInterface<bool> {
protected:
    void TearDown() override { SoundEngine::setStreamThreshold(10.0); }
};

TEST_P(CaptureLoop, LoopIsSeamlessUntilItsEngineGoes)
{
    const bool streamed = GetParam();
    SoundEngine::setStreamThreshold(streamed ? 0.1 : 10.0);
    // 110 whole periods, so a seamless loop is one unbroken sine.
    const std::string tone = dir.file("loop.wav");
    ASSERT_NO_FATAL_FAILURE(Testing::writeTone(tone, 440.0, 0.25));

    const auto opened = Clock::now();
    auto keeper = SoundEngine::create(); // holds the device open after the player goes
    auto player = SoundEngine::create();
    ASSERT_FALSE(player->silent());
    const SoundHandle loop = player->play2D(tone, true);
    const double started = since(opened);
    std::this_thread::sleep_for(1s);
    EXPECT_EQ(player->state(loop), SoundState::Playing);
    player.reset();
    const double stopped = since(opened);
    std::this_thread::sleep_for(400ms);
    keeper.reset();

    const Testing::Capture out = Testing::readCapture(captureFile);
    ASSERT_GT(out.seconds(), stopped + 0.35);

    // Judged from a quarter second in (past any start-up) for three lengths of the file.
    const double from = started + 0.25;
    const double to = started + 0.95;
    EXPECT_NEAR(out.zeroCrossingFrequency(from, to), 440.0, 5.0);
    // Windows of four periods each: a steady tone gives the same RMS in all of them.
    std::vector<double> windows = out.windowRms(from, to, 4.0 / 440.0);
    ASSERT_FALSE(windows.empty());
    const double level = out.rms(from, to);
    EXPECT_GT(level, 0.1);
    const double quietest = *std::min_element(windows.begin(), windows.end());
    std::printf("DEBUG level %f quietest %f step %f steady %f tail %g freq %f len %f stopped %f started %f\n", level, quietest, out.largestStep(from,to), level * std::numbers::sqrt2 * 2.0 * std::numbers::pi * 440.0 / out.sampleRate, out.rms(stopped + 0.15, stopped + 0.35), out.zeroCrossingFrequency(from,to), out.seconds(), stopped, started);
    for (double t = 0; t < out.seconds(); t += 0.05) std::printf("%.2f:%.3f ", t, out.rms(t, t+0.05)); std::printf("\n");
    EXPECT_GT(quietest, 0.9 * level) << "the loop has a gap";
    // A sine of peak A never steps by more than A * 2 pi f / rate between samples.
    const double steadyStep = level * std::numbers::sqrt2 * 2.0 * std::numbers::pi * 440.0 / out.sampleRate;
    EXPECT_LT(out.largestStep(from, to), 1.5 * steadyStep) << "the loop clicks";

    EXPECT_LT(out.rms(stopped + 0.15, stopped + 0.35), 1e-4) << "the loop outlived its engine";
}

INSTANTIATE_TEST_SUITE_P(Decoded, CaptureLoop, testing::Values(false));
INSTANTIATE_TEST_SUITE_P(Streamed, CaptureLoop, testing::Values(true));

} // namespace
} // namespace Skyhog::Audio
