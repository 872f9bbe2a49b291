// Sound files made on the spot for the audio tests, and a reader for what
// OpenAL Soft's wave writer captured.
#pragma once

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace Skyhog::Audio::Testing {

// A fresh folder under the system's temp folder, removed with everything in it.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

constexpr int kToneRate = 44100;

// Writes `seconds` of a sine tone; the name's extension picks the format (.wav or .mp3).
void writeTone(const std::string& path, double frequency, double seconds, float amplitude = 0.5f);
// Writes bytes that are no sound format at all.
void writeGarbage(const std::string& path, std::size_t bytes);

// Captured output mixed down to one channel.
struct Capture {
    int sampleRate = 0;
    std::vector<float> samples;

    double seconds() const { return static_cast<double>(samples.size()) / sampleRate; }
    // Measurements over [from, to) seconds; the range is clipped to the capture.
    double rms(double from, double to) const;
    double zeroCrossingFrequency(double from, double to) const;
    // Largest jump between neighbouring samples: a gap or a click in a tone shows up here.
    double largestStep(double from, double to) const;
    // Where sound starts and ends: the first and last 5 ms piece louder than
    // `level` RMS. {0, 0} when there is no such piece.
    std::pair<double, double> audible(double level = 0.02) const;
    // RMS of each `window` seconds long piece of [from, to).
    std::vector<double> windowRms(double from, double to, double window) const;
};

Capture readCapture(const std::string& path);

// Polls `done` until it holds or `timeout` passes; returns its last answer.
bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout);

} // namespace Skyhog::Audio::Testing
