#include "tests/support/WaveFile.h"

#include <sndfile.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace SkyhogTest {
namespace {

std::pair<std::size_t, std::size_t> span(const Capture& capture, double from, double to)
{
    const auto clip = [&](double at) {
        return std::min(capture.samples.size(), static_cast<std::size_t>(std::max(0.0, at) * capture.rate));
    };
    return {clip(from), clip(to)};
}

} // namespace

double rms(const std::vector<float>& samples, std::size_t from, std::size_t to)
{
    to = std::min(to, samples.size());
    if (to <= from) return 0.0;
    double sum = 0.0;
    for (std::size_t i = from; i < to; ++i) sum += double(samples[i]) * samples[i];
    return std::sqrt(sum / static_cast<double>(to - from));
}

double Capture::rms(double from, double to) const
{
    const auto [begin, end] = span(*this, from, to);
    return SkyhogTest::rms(samples, begin, end);
}

double Capture::zeroCrossingFrequency(double from, double to) const
{
    const auto [begin, end] = span(*this, from, to);
    std::size_t crossings = 0;
    for (std::size_t i = begin + 1; i < end; ++i) crossings += (samples[i - 1] < 0.0f) != (samples[i] < 0.0f);
    return end > begin ? crossings * rate / (2.0 * static_cast<double>(end - begin)) : 0.0;
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

Capture readWave(const std::string& path, Mixdown mix)
{
    Capture capture;
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) {
        ADD_FAILURE() << "cannot read the sound " << path << ": " << sf_strerror(nullptr);
        return capture;
    }
    capture.rate = info.samplerate;
    const float channels = mix == Mixdown::Mean ? static_cast<float>(info.channels) : 1.0f;
    std::vector<float> frame(static_cast<std::size_t>(info.channels));
    while (sf_readf_float(file, frame.data(), 1) == 1)
        capture.samples.push_back(std::accumulate(frame.begin(), frame.end(), 0.0f) / channels);
    sf_close(file);
    return capture;
}

} // namespace SkyhogTest
