#include "tests/support/WaveFile.h"

#include <cstdint>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>

namespace SkyhogTest {

Capture readWave(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    Capture capture;
    if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0) return capture;
    int channels = 1, bits = 16, format = 1;
    for (std::size_t at = 12; at + 8 <= bytes.size();) {
        std::uint32_t size = 0;
        std::memcpy(&size, &bytes[at + 4], 4);
        const std::string id = bytes.substr(at, 4);
        if (id == "fmt ") {
            std::uint16_t f = 0, c = 0, b = 0;
            std::uint32_t r = 0;
            std::memcpy(&f, &bytes[at + 8], 2);
            std::memcpy(&c, &bytes[at + 10], 2);
            std::memcpy(&r, &bytes[at + 12], 4);
            std::memcpy(&b, &bytes[at + 22], 2);
            format = f, channels = c, bits = b, capture.rate = static_cast<int>(r);
            // WAVE_FORMAT_EXTENSIBLE keeps the real format in its sub-format GUID.
            if (f == 0xFFFE && size >= 26) {
                std::uint16_t sub = 0;
                std::memcpy(&sub, &bytes[at + 8 + 24], 2);
                format = sub;
            }
        } else if (id == "data") {
            // A writer that did not finish its header leaves the size open: read to the end.
            const std::size_t end = size == 0 || at + 8 + size > bytes.size() ? bytes.size() : at + 8 + size;
            const std::size_t frame = static_cast<std::size_t>(channels * bits / 8);
            for (std::size_t i = at + 8; i + frame <= end; i += frame) {
                float sum = 0.0f;
                for (int c = 0; c < channels; ++c) {
                    if (bits == 16) {
                        std::int16_t v = 0;
                        std::memcpy(&v, &bytes[i + c * 2], 2);
                        sum += v / 32768.0f;
                    } else if (bits == 32 && format == 3) {
                        float v = 0;
                        std::memcpy(&v, &bytes[i + c * 4], 4);
                        sum += v;
                    }
                }
                capture.samples.push_back(sum / static_cast<float>(channels));
            }
            break;
        }
        at += 8 + size + (size & 1);
    }
    return capture;
}

float rms(const std::vector<float>& samples, std::size_t from, std::size_t to)
{
    double sum = 0.0;
    to = std::min(to, samples.size());
    if (to <= from) return 0.0f;
    for (std::size_t i = from; i < to; ++i) sum += samples[i] * samples[i];
    return static_cast<float>(std::sqrt(sum / static_cast<double>(to - from)));
}

} // namespace SkyhogTest
