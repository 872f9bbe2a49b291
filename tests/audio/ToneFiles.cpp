#include "tests/audio/ToneFiles.h"

#include <sndfile.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <numbers>
#include <stdexcept>
#include <thread>

namespace Skyhog::Audio::Testing {

ScratchDir::ScratchDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "skyhog-audio-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no scratch folder");
    path_ = pattern;
}

void writeTone(const std::string& path, double frequency, double seconds)
{
    constexpr int rate = 44100;
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 1;
    info.format = path.ends_with(".mp3") ? (SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III)
                                         : (SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr) << path << ": " << sf_strerror(nullptr);
    std::vector<float> tone(static_cast<std::size_t>(std::lround(seconds * rate)));
    for (std::size_t i = 0; i < tone.size(); ++i)
        tone[i] = 0.5f * static_cast<float>(std::sin(2.0 * std::numbers::pi * frequency * i / rate));
    EXPECT_EQ(sf_writef_float(file, tone.data(), static_cast<sf_count_t>(tone.size())),
              static_cast<sf_count_t>(tone.size()));
    sf_close(file);
}

namespace {

std::pair<std::size_t, std::size_t> span(const Capture& capture, double from, double to)
{
    const auto clip = [&](double at) {
        return std::min(capture.samples.size(),
                        static_cast<std::size_t>(std::max(0.0, at) * capture.sampleRate));
    };
    return {clip(from), clip(to)};
}

} // namespace

double Capture::rms(double from, double to) const
{
    const auto [begin, end] = span(*this, from, to);
    double sum = 0.0;
    for (std::size_t i = begin; i < end; ++i) sum += double(samples[i]) * samples[i];
    return end > begin ? std::sqrt(sum / static_cast<double>(end - begin)) : 0.0;
}

double Capture::zeroCrossingFrequency(double from, double to) const
{
    const auto [begin, end] = span(*this, from, to);
    std::size_t crossings = 0;
    for (std::size_t i = begin + 1; i < end; ++i)
        crossings += (samples[i - 1] < 0.0f) != (samples[i] < 0.0f);
    return end > begin ? crossings * sampleRate / (2.0 * static_cast<double>(end - begin)) : 0.0;
}

double Capture::largestStep(double from, double to) const
{
    const auto [begin, end] = span(*this, from, to);
    double largest = 0.0;
    for (std::size_t i = begin + 1; i < end; ++i)
        largest = std::max(largest, double(std::fabs(samples[i] - samples[i - 1])));
    return largest;
}

double Capture::quietestWindow(double from, double to, double window) const
{
    double quietest = rms(from, to);
    for (int i = 0; from + (i + 1) * window <= to; ++i)
        quietest = std::min(quietest, rms(from + i * window, from + (i + 1) * window));
    return quietest;
}

std::pair<double, double> Capture::audible(double level) const
{
    constexpr double piece = 0.005;
    double first = -1.0;
    double last = 0.0;
    for (double at = 0.0; at + piece <= seconds(); at += piece) {
        if (rms(at, at + piece) <= level) continue;
        if (first < 0.0) first = at;
        last = at + piece;
    }
    return first < 0.0 ? std::pair(0.0, 0.0) : std::pair(first, last);
}

Capture readCapture(const std::string& path)
{
    Capture capture;
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) {
        ADD_FAILURE() << "cannot read the capture " << path << ": " << sf_strerror(nullptr);
        return capture;
    }
    capture.sampleRate = info.samplerate;
    std::vector<float> frame(static_cast<std::size_t>(info.channels));
    while (sf_readf_float(file, frame.data(), 1) == 1)
        capture.samples.push_back(std::accumulate(frame.begin(), frame.end(), 0.0f));
    sf_close(file);
    return capture;
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

} // namespace Skyhog::Audio::Testing
