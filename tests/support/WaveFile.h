// Reads what OpenAL Soft's wave writer captured: 16-bit PCM or 32-bit float,
// plain or extensible WAV, mixed down to mono.
#pragma once
#include <string>
#include <vector>

namespace SkyhogTest {

struct Capture {
    int rate = 0;               // 0 when the file is missing or not a WAV
    std::vector<float> samples; // mono, -1..1
};

Capture readWave(const std::string& path);
// Root mean square of samples [from, to).
float rms(const std::vector<float>& samples, std::size_t from, std::size_t to);

} // namespace SkyhogTest
