#include "noise.h"

#include <cmath>

namespace {

uint32_t hash(uint32_t x)
{
    x ^= x >> 16;
    x *= 0x7FEB352Du;
    x ^= x >> 15;
    x *= 0x846CA68Bu;
    x ^= x >> 16;
    return x;
}

float lattice(int x, int y, int z, uint32_t seed)
{
    uint32_t h = hash(seed ^ hash(static_cast<uint32_t>(x) ^
                                  hash(static_cast<uint32_t>(y) ^ hash(static_cast<uint32_t>(z)))));
    return static_cast<float>(h >> 8) / static_cast<float>(1u << 24);
}

float fade(float t)
{
    return t * t * (3.0f - 2.0f * t);
}

float lerp(float a, float b, float t)
{
    return a + (b - a) * t;
}

} // namespace

float value_noise(float x, float y, uint32_t seed)
{
    return value_noise(x, y, 0.0f, seed);
}

float value_noise(float x, float y, float z, uint32_t seed)
{
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    const float fz = std::floor(z);
    const int ix = static_cast<int>(fx);
    const int iy = static_cast<int>(fy);
    const int iz = static_cast<int>(fz);
    const float tx = fade(x - fx);
    const float ty = fade(y - fy);
    const float tz = fade(z - fz);
    float planes[2];
    for (int dz = 0; dz < 2; ++dz) {
        const float bottom =
            lerp(lattice(ix, iy, iz + dz, seed), lattice(ix + 1, iy, iz + dz, seed), tx);
        const float top =
            lerp(lattice(ix, iy + 1, iz + dz, seed), lattice(ix + 1, iy + 1, iz + dz, seed), tx);
        planes[dz] = lerp(bottom, top, ty);
    }
    return lerp(planes[0], planes[1], tz);
}

float fractal_noise(float x, float y, int octaves, uint32_t seed)
{
    return fractal_noise(x, y, 0.0f, octaves, seed);
}

float fractal_noise(float x, float y, float z, int octaves, uint32_t seed)
{
    float sum = 0.0f;
    float weight = 1.0f;
    float total = 0.0f;
    for (int octave = 0; octave < octaves; ++octave) {
        sum += weight * value_noise(x, y, z, seed + static_cast<uint32_t>(octave) * 101u);
        total += weight;
        weight *= 0.5f;
        x *= 2.0f;
        y *= 2.0f;
        z *= 2.0f;
    }
    return sum / total;
}

float cell_random(int x, int y, uint32_t seed)
{
    return lattice(x, y, 0x5EED, seed);
}
