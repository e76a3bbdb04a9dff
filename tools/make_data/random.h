// A small random generator whose sequence is the same on every machine and
// standard library, so the generated data are reproducible byte for byte.
#pragma once

#include <cstdint>

class Random {
public:
    explicit Random(uint64_t seed) : state(seed) {}

    // SplitMix64.
    uint64_t next()
    {
        state += 0x9E3779B97F4A7C15ull;
        uint64_t z = state;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // Uniform in [0, 1).
    float uniform() { return static_cast<float>(next() >> 40) / static_cast<float>(1ull << 24); }

    float range(float low, float high) { return low + (high - low) * uniform(); }

private:
    uint64_t state;
};
