#include "tests/audio/ToneFiles.h"

#include <sndfile.h>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <thread>
#include <vector>

namespace SkyhogTest {

void writeTone(const std::string& path, double frequency, double seconds)
{
    constexpr int rate = 44100;
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 1;
    info.format =
        path.ends_with(".mp3") ? (SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III) : (SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr) << path << ": " << sf_strerror(nullptr);
    std::vector<float> tone(static_cast<std::size_t>(std::lround(seconds * rate)));
    for (std::size_t i = 0; i < tone.size(); ++i)
        tone[i] = 0.5f * static_cast<float>(std::sin(2.0 * std::numbers::pi * frequency * i / rate));
    EXPECT_EQ(sf_writef_float(file, tone.data(), static_cast<sf_count_t>(tone.size())),
              static_cast<sf_count_t>(tone.size()));
    sf_close(file);
}

bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) return done();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

} // namespace SkyhogTest
