// The goal's pad, its crystal and ring, and the beamer's gate. The goal
// glows green: the one place the player wants to reach.
#include "atlas.h"
#include "noise.h"
#include "paint.h"
#include "textures.h"

namespace {

const glm::vec3 DARK_METAL(0.17f, 0.18f, 0.21f);
const glm::vec3 METAL(0.50f, 0.53f, 0.57f);
const glm::vec3 SEAM(0.08f, 0.09f, 0.10f);
const glm::vec3 GOAL_GREEN(0.30f, 1.00f, 0.55f);
const glm::vec3 GOAL_CORE(0.85f, 1.00f, 0.90f);
const glm::vec3 CRYSTAL_DEEP(0.05f, 0.55f, 0.45f);
const glm::vec3 CRYSTAL_BRIGHT(0.55f, 1.00f, 0.85f);
const glm::vec3 GOLD(0.86f, 0.66f, 0.26f);
const glm::vec3 GATE_VIOLET(0.36f, 0.22f, 0.52f);
const glm::vec3 GATE_CYAN(0.35f, 0.90f, 1.00f);

// The pad's bands, in the v of its profile (models_goal.cpp): which band a
// texel is in decides its look.
glm::vec4 goal_texel(float u, float v)
{
    constexpr float BLUR = 1.0f / 256.0f;
    glm::vec4 texel(METAL, 1.0f);
    if (v < 0.08f)
        texel = glm::vec4(DARK_METAL, 1.0f);
    else if (v >= 0.40f && v < 0.48f)
        texel = glm::vec4(DARK_METAL, 1.0f);
    else if (v >= 0.56f && v < 0.64f)
        texel = glm::vec4(DARK_METAL, 1.0f);
    else if (v >= 0.72f && v < 0.84f)
        texel = glm::vec4(0.7f * DARK_METAL, 1.0f);

    // One panel per side of the pad: seams between them.
    const float side_width = 1.0f / GOAL_SIDES;
    const float seam = grid_distance(u, side_width);
    if (v >= 0.08f && v < 0.84f)
        paint_over(texel, SEAM, 0.8f * line(seam, 0.003f, BLUR));
    shade(texel, 0.9f + 0.15f * fractal_noise(24.0f * u, 24.0f * v, 3, 41u));

    // A light in the middle of every side panel.
    if (v >= 0.16f && v < 0.30f) {
        const float across =
            std::abs(u / side_width - std::floor(u / side_width) - 0.5f) * side_width;
        paint_glow(texel, GOAL_GREEN,
                   inside(box_distance({across, v}, {0.0f, 0.23f}, {0.012f, 0.025f}), BLUR));
    }
    // The glowing ring, and the emitter under the crystal.
    if (v >= 0.48f && v < 0.56f)
        paint_glow(texel, GOAL_GREEN, 1.0f);
    if (v >= 0.84f)
        paint_glow(texel, glm::mix(GOAL_GREEN, GOAL_CORE, glm::smoothstep(0.84f, 1.0f, v)), 1.0f);
    return texel;
}

glm::vec4 crystal(glm::vec2 st)
{
    // Mostly self-lit, but with enough alpha for facets to catch highlights.
    const float veins = fractal_noise(6.0f * st.x, 6.0f * st.y, 4, 42u);
    const glm::vec3 colour =
        glm::mix(CRYSTAL_DEEP, CRYSTAL_BRIGHT, glm::smoothstep(0.3f, 0.8f, veins));
    return {colour, 0.3f};
}

// s runs around the ring, t around its tube.
glm::vec4 ring(glm::vec2 st)
{
    constexpr float BLUR = 2.0f / 256.0f;
    glm::vec4 texel(GOLD, 1.0f);
    const float notch = grid_distance(st.x, 1.0f / 24.0f);
    paint_over(texel, 0.4f * GOLD, line(notch, 0.004f, BLUR));
    shade(texel, 0.9f + 0.15f * fractal_noise(30.0f * st.x, 4.0f * st.y, 3, 43u));
    const float light = grid_distance(st.x - 1.0f / 48.0f, 1.0f / 8.0f);
    paint_glow(texel, GOAL_GREEN,
               inside(light - 0.008f, BLUR) * inside(std::abs(st.y - 0.5f) - 0.2f, BLUR));
    return texel;
}

glm::vec4 goal_crystal_texel(float u, float v)
{
    const glm::vec2 uv(u, v);
    if (u < GOAL_CRYSTAL.max.x)
        return crystal(local(uv, GOAL_CRYSTAL.min, GOAL_CRYSTAL.max));
    return ring(local(uv, GOAL_RING.min, GOAL_RING.max));
}

// u runs around the gate, v around its tube; v = 0.5 is the inner side.
glm::vec4 beamer_texel(float u, float v)
{
    constexpr float BLUR = 1.0f / 128.0f;
    glm::vec4 texel(GATE_VIOLET, 1.0f);
    paint_over(texel, SEAM, line(grid_distance(u, 1.0f / 20.0f), 0.004f, BLUR));
    shade(texel, 0.9f + 0.15f * fractal_noise(20.0f * u, 8.0f * v, 3, 44u));
    paint_glow(texel, GATE_CYAN, inside(std::abs(v - 0.5f) - 0.1f, BLUR));
    return texel;
}

} // namespace

Image paint_goal()
{
    Image image(256, 256);
    image.paint(goal_texel);
    return image;
}

Image paint_goal_crystal()
{
    Image image(static_cast<int>(GOAL_CRYSTAL_TEXTURE_SIZE),
                static_cast<int>(GOAL_CRYSTAL_TEXTURE_SIZE));
    image.paint(goal_crystal_texel);
    return image;
}

Image paint_beamer()
{
    Image image(128, 128);
    image.paint(beamer_texel);
    return image;
}
