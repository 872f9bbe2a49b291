// Sound files made on the spot for the audio tests, and a reader for what
// OpenAL Soft's wave writer captured.
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace Skyhog::Audio::Testing {

// A fresh folder under the temp folder, removed with everything in it.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir() { std::error_code ignored; std::filesystem::remove_all(path_, ignored); }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// A 44.1 kHz mono sine; the extension picks the format (.wav or .mp3).
void writeTone(const std::string& path, double frequency, double seconds);

// Captured output mixed down to one channel. Times are in seconds, and
// measurements are over [from, to), clipped to the capture.
struct Capture {
    int sampleRate = 0;
    std::vector<float> samples;

    double seconds() const { return static_cast<double>(samples.size()) / sampleRate; }
    double rms(double from, double to) const;
    double zeroCrossingFrequency(double from, double to) const;
    // Largest jump between neighbouring samples: a click in a tone shows here.
    double largestStep(double from, double to) const;
    // The quietest of the `window` long pieces of [from, to): a gap shows here.
    double quietestWindow(double from, double to, double window) const;
    // Where sound starts and ends: the first and last 5 ms louder than `level` RMS.
    std::pair<double, double> audible(double level = 0.02) const;
};

Capture readCapture(const std::string& path);

// How long a test waits for the engine's worker to get somewhere: long enough
// for the slowest machine, so only a hang or a real fault runs out of it.
inline constexpr std::chrono::seconds Patience{30};

// Polls `done` until it holds or `timeout` passes; returns its last answer.
bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout = Patience);

} // namespace Skyhog::Audio::Testing
