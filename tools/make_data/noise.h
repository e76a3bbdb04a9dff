// Value noise for texture detail: smooth, repeatable, and cheap enough for a
// few million samples.
#pragma once

#include <cstdint>

// Smooth noise in [0, 1] with features about one unit apart.
float value_noise(float x, float y, uint32_t seed);
float value_noise(float x, float y, float z, uint32_t seed);

// Sums of octaves, each twice as fine and half as strong; in [0, 1].
float fractal_noise(float x, float y, int octaves, uint32_t seed);
float fractal_noise(float x, float y, float z, int octaves, uint32_t seed);

// A hash of integer coordinates in [0, 1), for per-cell random choices.
float cell_random(int x, int y, uint32_t seed);
