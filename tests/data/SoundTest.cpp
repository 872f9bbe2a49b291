// The MP3s decode with libsndfile at their intended lengths, without clipping,
// and the sea loops without a click.
#include "DataTree.h"
#include "Sounds.h"
#include "tests/support/WaveFile.h"

#include <gtest/gtest.h>

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace SkyhogTest {
namespace {

using namespace datagen::sounds;

struct Decoded {
    bool ok = false;
    int rate = 0, channels = 0;
    std::vector<std::vector<float>> channel; // one vector per channel
    size_t frames() const { return channel.empty() ? 0 : channel[0].size(); }
};

Decoded decode(const std::string& file)
{
    Decoded d;
    SF_INFO info{};
    SNDFILE* f = sf_open((DataRoot + file).c_str(), SFM_READ, &info);
    if (!f) return d;
    d.rate = info.samplerate;
    d.channels = info.channels;
    std::vector<float> interleaved;
    std::vector<float> block(4096 * static_cast<size_t>(info.channels));
    sf_count_t got;
    while ((got = sf_readf_float(f, block.data(), 4096)) > 0)
        interleaved.insert(interleaved.end(), block.begin(), block.begin() + got * info.channels);
    sf_close(f);
    d.channel.resize(info.channels);
    for (size_t i = 0; i < interleaved.size(); ++i) d.channel[i % info.channels].push_back(interleaved[i]);
    d.ok = true;
    return d;
}

float peak(const Decoded& d)
{
    float p = 0;
    for (const auto& c : d.channel)
        for (float s : c) p = std::max(p, std::abs(s));
    return p;
}

// Strongest period between 2 and 8 ms (125 to 500 Hz) by autocorrelation.
float pitchAt(const std::vector<float>& s, size_t from, size_t length)
{
    int best = 0;
    double bestScore = -1;
    for (int lag = SampleRate / 500; lag <= SampleRate / 125; ++lag) {
        double score = 0;
        for (size_t i = from; i < from + length; ++i) score += double(s[i]) * s[i + lag];
        if (score > bestScore) bestScore = score, best = lag;
    }
    return static_cast<float>(SampleRate) / best;
}

TEST(Sounds, DecodeAtTheirIntendedLengthsWithoutClipping)
{
    const struct {
        const char* file;
        int frames;
        double shortest, longest; // seconds
    } sounds[] = {
        {"Sounds/Intro.mp3", IntroFrames, 20, 40},
        {"Sounds/waves.mp3", WavesFrames, 5, 15},
        {"Sounds/pain.mp3", PainFrames, 0.2, 1},
    };
    for (const auto& s : sounds) {
        SCOPED_TRACE(s.file);
        Decoded d = decode(s.file);
        ASSERT_TRUE(d.ok);
        EXPECT_EQ(d.rate, 44100);
        EXPECT_GE(d.channels, 1);
        EXPECT_LE(d.channels, 2);
        // The encoder's delay and padding are recorded in the stream and removed
        // again on decoding, so the length comes back to the sample.
        EXPECT_EQ(d.frames(), static_cast<size_t>(s.frames));
        double seconds = static_cast<double>(d.frames()) / d.rate;
        EXPECT_GE(seconds, s.shortest);
        EXPECT_LT(seconds, s.longest);
        EXPECT_LT(peak(d), 0.99f) << "clipping";
        EXPECT_GT(peak(d), 0.3f) << "too quiet";
    }
}

TEST(Sounds, TuneStartsAndEndsInSilence)
{
    Decoded d = decode("Sounds/Intro.mp3");
    ASSERT_TRUE(d.ok);
    ASSERT_GT(d.frames(), 44100u);
    for (const auto& c : d.channel) {
        EXPECT_LT(std::abs(c.front()), 0.02f);
        EXPECT_LT(rms(c, c.size() - 2205, c.size()), 0.01f) << "the last 50 ms should have faded out";
        // Music keeps going all the way through, with no silent stretches.
        for (size_t at = 0; at + 44100 < c.size() - 3 * 44100; at += 22050)
            EXPECT_GT(rms(c, at, at + 22050), 0.02f) << at;
    }
}

TEST(Sounds, WavesLoopWithoutAClick)
{
    Decoded d = decode("Sounds/waves.mp3");
    ASSERT_TRUE(d.ok);
    const size_t n = d.frames();
    ASSERT_GT(n, 44100u);
    for (const auto& c : d.channel) {
        // The jump from the last sample back to the first is no bigger than the
        // ordinary steps inside the sound.
        double steps = 0;
        for (size_t i = 1; i < n; ++i) steps += double(c[i] - c[i - 1]) * (c[i] - c[i - 1]);
        float typical = static_cast<float>(std::sqrt(steps / (n - 1)));
        EXPECT_LT(std::abs(c[0] - c[n - 1]), 4 * typical);
        // The level at the end carries on at the start.
        float head = rms(c, 0, 4410), tail = rms(c, n - 4410, n);
        EXPECT_LT(std::max(head, tail) / std::min(head, tail), 1.5f);
        // Slow swells: some half seconds are much louder than others.
        double quiet = 1, loud = 0;
        for (size_t at = 0; at + 22050 <= n; at += 22050) {
            quiet = std::min(quiet, rms(c, at, at + 22050));
            loud = std::max(loud, rms(c, at, at + 22050));
        }
        EXPECT_GT(loud / quiet, 1.8f);
    }
}

TEST(Sounds, OuchFallsInPitchAndStopsQuickly)
{
    Decoded d = decode("Sounds/pain.mp3");
    ASSERT_TRUE(d.ok);
    const std::vector<float>& c = d.channel[0];
    const size_t ms = 44;
    float early = pitchAt(c, 60 * ms, 60 * ms), late = pitchAt(c, 260 * ms, 60 * ms);
    EXPECT_GT(early, late * 1.2f) << "early " << early << " Hz, late " << late << " Hz";
    EXPECT_GT(early, 250.0f);
    // A quick start and a quiet end.
    EXPECT_GT(rms(c, 20 * ms, 60 * ms), 0.05f);
    EXPECT_LT(rms(c, c.size() - 10 * ms, c.size()), 0.01f);
}

} // namespace
} // namespace SkyhogTest
