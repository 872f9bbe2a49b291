// Synthesised music and effects, written as MP3 through libsndfile.
#pragma once
#include <string>
#include <vector>

namespace datagen::sounds {

inline constexpr int SampleRate = 44100;
// Intended lengths in sample frames.
inline constexpr int IntroFrames = 34 * SampleRate; // 16 bars at 120 bpm and a ring-out
inline constexpr int WavesFrames = 10 * SampleRate; // one seamless loop
inline constexpr int PainFrames = SampleRate * 6 / 10;

// Interleaved samples in [-1, 1].
struct Clip {
    int channels = 1;
    std::vector<float> samples;
    int frames() const { return static_cast<int>(samples.size()) / channels; }
};

Clip introTune();
Clip seaWaves();
Clip ouch();

void writeMp3(const std::string& path, const Clip& clip);
void writeSounds(const std::string& root);

} // namespace datagen::sounds
