// Sound read back for measuring: what OpenAL Soft's wave writer captured, or
// any other file libsndfile reads, mixed down to one channel.
#pragma once
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace SkyhogTest {

// Root mean square of samples [from, to), clipped to the samples; 0 when empty.
double rms(const std::vector<float>& samples, std::size_t from, std::size_t to);

// One channel of sound. Times are in seconds, and measurements are over
// [from, to), clipped to the capture.
struct Capture {
    int rate = 0; // 0 when the file could not be read
    std::vector<float> samples;

    double seconds() const { return static_cast<double>(samples.size()) / rate; }
    double rms(double from, double to) const;
    double zeroCrossingFrequency(double from, double to) const;
    // Largest jump between neighbouring samples: a click in a tone shows here.
    double largestStep(double from, double to) const;
    // The quietest of the `window` long pieces of [from, to): a gap shows here.
    double quietestWindow(double from, double to, double window) const;
    // Where sound starts and ends: the first and last 5 ms louder than `level` RMS.
    std::pair<double, double> audible(double level = 0.02) const;
};

// How the channels become one: their mean, or their sum.
enum class Mixdown { Mean, Sum };

// Reads a sound file; a file that cannot be read adds a test failure and
// gives an empty capture.
Capture readWave(const std::string& path, Mixdown mix = Mixdown::Mean);

} // namespace SkyhogTest
