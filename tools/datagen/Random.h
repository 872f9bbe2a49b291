// Small deterministic random numbers and hashes. Everything the generator
// makes is seeded from fixed numbers, so every run writes the same bytes.
#pragma once
#include <cstdint>

namespace datagen {

inline uint64_t mix64(uint64_t z)
{
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

inline uint32_t hash32(int32_t x, int32_t y, int32_t z, uint32_t seed)
{
    uint32_t h = seed * 0x9E3779B1u;
    h ^= static_cast<uint32_t>(x) * 0x8DA6B343u;
    h ^= static_cast<uint32_t>(y) * 0xD8163841u;
    h ^= static_cast<uint32_t>(z) * 0xCB1AB31Fu;
    h ^= h >> 16;
    h *= 0x85EBCA6Bu;
    h ^= h >> 13;
    h *= 0xC2B2AE35u;
    h ^= h >> 16;
    return h;
}

// SplitMix64: tiny, fast and good enough for placing palms and painting grain.
class Rng {
public:
    explicit Rng(uint64_t seed) : state_(seed) {}
    uint64_t next()
    {
        state_ += 0x9E3779B97F4A7C15ull;
        return mix64(state_);
    }
    // Uniform in [0, 1).
    double uniform() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }
    float range(float lo, float hi) { return lo + (hi - lo) * static_cast<float>(uniform()); }
    int below(int n) { return static_cast<int>(uniform() * n); }
    // Roughly normal, mean 0, deviation 1 (sum of four uniforms).
    float gauss()
    {
        double s = uniform() + uniform() + uniform() + uniform();
        return static_cast<float>((s - 2.0) * 1.7320508);
    }

private:
    uint64_t state_;
};

} // namespace datagen
