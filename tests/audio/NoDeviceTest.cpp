// Without an output device the game still gets an engine: a silent one, and
// the engine's one line is all that is said. CTest runs this with OpenAL Soft
// told to use an ALSA device that does not exist.
#include "audio/SoundEngine.h"
#include "tests/audio/ToneFiles.h"
#include "tests/support/TempTree.h"

#include <gtest/gtest.h>

namespace Skyhog::Audio {
namespace {

TEST(NoDevice, EnginesAreSilentHarmlessAndSaySoOnce)
{
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    auto intro = SoundEngine::create();
    auto effects = SoundEngine::create();
    const std::string complaints = testing::internal::GetCapturedStderr();
    const std::string said = testing::internal::GetCapturedStdout();
    ASSERT_TRUE(intro && effects);
    if (!intro->silent()) GTEST_SKIP() << "there is a sound output device here";
    EXPECT_TRUE(effects->silent());
    EXPECT_EQ(said, "No sound output device found: sound is off\n");
    EXPECT_EQ(complaints, "") << "the sound libraries spoke on the terminal";

    SkyhogTest::TempTree dir;
    const std::string tone = dir.path("tone.wav");
    ASSERT_NO_FATAL_FAILURE(SkyhogTest::writeTone(tone, 440.0, 0.2));
    // A silent engine looks at no file: a missing one is not even reported.
    testing::internal::CaptureStdout();
    for (int i = 0; i < 100; ++i) {
        const SoundHandle sound = effects->play2D(i % 2 ? tone : dir.path("missing.wav"), i % 3 == 0);
        EXPECT_EQ(effects->state(sound), SoundState::Finished);
        effects->stop(sound);
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << "a silent engine looks at no file";
    EXPECT_EQ(effects->voiceCount(), 0u);
}

} // namespace
} // namespace Skyhog::Audio
