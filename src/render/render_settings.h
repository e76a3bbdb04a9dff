// How every model is drawn: the primitive mode and the texture filters. The
// keyboard controls write these between frames and the renderer applies them
// at every draw.
//
// This header is shared with code that has no OpenGL, so it carries the few
// OpenGL enum values it needs as constants of its own; the renderer checks
// them against the real ones at compile time.
#pragma once

#include <cstdint>

// Primitive modes (GL_TRIANGLES, GL_LINE_LOOP).
constexpr uint32_t DRAW_TRIANGLES = 0x0004;
constexpr uint32_t DRAW_LINE_LOOP = 0x0002;

// Texture filters (GL_NEAREST ... GL_LINEAR_MIPMAP_LINEAR). The first word
// is how texels are sampled, the second how mip levels are chosen.
constexpr uint32_t FILTER_NEAREST = 0x2600;
constexpr uint32_t FILTER_LINEAR = 0x2601;
constexpr uint32_t FILTER_NEAREST_MIPMAP_NEAREST = 0x2700;
constexpr uint32_t FILTER_LINEAR_MIPMAP_NEAREST = 0x2701;
constexpr uint32_t FILTER_NEAREST_MIPMAP_LINEAR = 0x2702;
constexpr uint32_t FILTER_LINEAR_MIPMAP_LINEAR = 0x2703;

struct RenderSettings {
    uint32_t draw_mode = DRAW_TRIANGLES;
    uint32_t min_filter = FILTER_LINEAR;
    uint32_t mag_filter = FILTER_LINEAR;
};

// The one set of settings for the whole program, kept from level to level:
// F3 to F5 change it and every frame draws with it.
extern RenderSettings render_settings;
