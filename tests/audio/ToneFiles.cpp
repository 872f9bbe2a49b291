#include "tests/audio/ToneFiles.h"

#include <sndfile.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <random>
#include <stdexcept>
#include <thread>

namespace Skyhog::Audio::Testing {

ScratchDir::ScratchDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "skyhog-audio-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no scratch folder");
    path_ = pattern;
}

ScratchDir::~ScratchDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void writeTone(const std::string& path, double frequency, double seconds, float amplitude)
{
    SF_INFO info{};
    info.samplerate = kToneRate;
    info.channels = 1;
    info.format = path.ends_with(".mp3") ? (SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III)
                                         : (SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr) << path << ": " << sf_strerror(nullptr);

    const auto frames = static_cast<std::size_t>(std::lround(seconds * kToneRate));
    std::vector<float> tone(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        tone[i] = amplitude *
                  static_cast<float>(std::sin(2.0 * std::numbers::pi * frequency * i / kToneRate));
    }
    EXPECT_EQ(sf_writef_float(file, tone.data(), static_cast<sf_count_t>(frames)),
              static_cast<sf_count_t>(frames));
    sf_close(file);
}

void writeGarbage(const std::string& path, std::size_t bytes)
{
    std::mt19937 random(1234);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    for (std::size_t i = 0; i < bytes; ++i) std::fputc(static_cast<int>(random() % 256), file);
    std::fclose(file);
}

namespace {

std::pair<std::size_t, std::size_t> span(const Capture& capture, double from, double to)
{
    const auto clip = [&](double at) {
        const double frame = std::max(0.0, at) * capture.sampleRate;
        return std::min(capture.samples.size(), static_cast<std::size_t>(frame));
    };
    return {clip(from), clip(to)};
}

} // namespace

double Capture::rms(double from, double to) const
{
    const auto [begin, end] = span(*this, from, to);
    if (end <= begin) return 0.0;
    double sum = 0.0;
    for (std::size_t i = begin; i < end; ++i) sum += double(samples[i]) * samples[i];
    return std::sqrt(sum / static_cast<double>(end - begin));
}

double Capture::zeroCrossingFrequency(double from, double to) const
{
    const auto [begin, end] = span(*this, from, to);
    if (end <= begin + 1) return 0.0;
    std::size_t crossings = 0;
    for (std::size_t i = begin + 1; i < end; ++i) {
        if ((samples[i - 1] < 0.0f) != (samples[i] < 0.0f)) ++crossings;
    }
    return crossings / (2.0 * static_cast<double>(end - begin) / sampleRate);
}

double Capture::largestStep(double from, double to) const
{
    const auto [begin, end] = span(*this, from, to);
    double largest = 0.0;
    for (std::size_t i = begin + 1; i < end; ++i)
        largest = std::max(largest, double(std::fabs(samples[i] - samples[i - 1])));
    return largest;
}

std::vector<double> Capture::windowRms(double from, double to, double window) const
{
    std::vector<double> pieces;
    for (int i = 0; from + (i + 1) * window <= to; ++i)
        pieces.push_back(rms(from + i * window, from + (i + 1) * window));
    return pieces;
}

std::pair<double, double> Capture::audible(double level) const
{
    constexpr double piece = 0.005;
    const std::vector<double> pieces = windowRms(0.0, seconds(), piece);
    const auto loud = [level](double rms) { return rms > level; };
    const auto first = std::find_if(pieces.begin(), pieces.end(), loud);
    if (first == pieces.end()) return {0.0, 0.0};
    const auto last = std::find_if(pieces.rbegin(), pieces.rend(), loud);
    return {piece * static_cast<double>(first - pieces.begin()),
            piece * static_cast<double>(pieces.rend() - last)};
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
    const auto channels = static_cast<std::size_t>(info.channels);
    std::vector<float> chunk(4096 * channels);
    sf_count_t got = 0;
    while ((got = sf_readf_float(file, chunk.data(), 4096)) > 0) {
        for (sf_count_t frame = 0; frame < got; ++frame) {
            float sum = 0.0f;
            for (std::size_t c = 0; c < channels; ++c) sum += chunk[frame * channels + c];
            capture.samples.push_back(sum);
        }
    }
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
