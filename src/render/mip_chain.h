// The smaller levels of a texture, made from level 0 on the processor. The
// driver's own mipmap generation costs the software renderer about 200 ms
// at start-up, most of it compiling the shaders it draws the levels with.
#pragma once

#include <cstdint>
#include <vector>

// One level: 8-bit sRGB colour with linear alpha, 4 bytes a texel, rows
// one after the other.
struct MipLevel {
    unsigned width = 0;
    unsigned height = 0;
    std::vector<uint8_t> texels;
};

// The level below: half the size, at least 1, each texel the average of the
// 2 x 2 texels above it (the last row or column counted again on odd sizes),
// in linear light as the texture unit samples them. Alpha is averaged as it
// is. The channel order of the texels does not matter except that alpha is
// the fourth.
MipLevel half_level(const MipLevel& above);

// Whether every colour of the level, stored as 8-bit linear light, still
// shows within one step of its sRGB byte. Below about 49 of 255 most bytes
// do not: 8 linear bits are too coarse there. Alpha does not count.
bool keeps_look_in_linear_bytes(const MipLevel& level);

// Rewrites the level's colours as 8-bit linear light; alpha stays.
void to_linear_bytes(MipLevel& level);
