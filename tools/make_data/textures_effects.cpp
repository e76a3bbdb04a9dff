// The heading arrow, the beamer particles' glow and the force-field walls.
#include "noise.h"
#include "paint.h"
#include "textures.h"

#include <cmath>

namespace {

const glm::vec3 ARROW_AMBER(1.00f, 0.58f, 0.10f);
const glm::vec3 ARROW_TIP(1.00f, 0.92f, 0.55f);
const glm::vec3 GLOW_CORE(0.92f, 1.00f, 1.00f);
const glm::vec3 GLOW_EDGE(0.30f, 0.62f, 1.00f);
const glm::vec3 FIELD(0.35f, 0.75f, 1.00f);
const glm::vec3 FIELD_EDGE(0.70f, 0.92f, 1.00f);

// v runs from the arrow's tail (0) to its tip (1). Mostly self-lit, so the
// arrow stands out whatever side the light is on.
glm::vec4 cone_texel(float, float v)
{
    const glm::vec3 colour = glm::mix(ARROW_AMBER, ARROW_TIP, glm::smoothstep(0.45f, 1.0f, v));
    return {colour, 0.35f};
}

// A soft round spot: the particles are blended with its alpha.
glm::vec4 glow_texel(float u, float v)
{
    const float r = glm::length(glm::vec2(u, v) - glm::vec2(0.5f)) * 2.0f;
    const float alpha = std::exp(-3.5f * r * r) * (1.0f - glm::smoothstep(0.75f, 1.0f, r));
    const glm::vec3 colour = glm::mix(GLOW_CORE, GLOW_EDGE, glm::smoothstep(0.0f, 0.7f, r));
    return {colour, alpha};
}

// Distance from a point to the edge of its cell in a honeycomb of cells one
// unit across (flat to flat).
float honeycomb_edge_distance(glm::vec2 p)
{
    const glm::vec2 period(1.0f, std::sqrt(3.0f));
    const glm::vec2 half = 0.5f * period;
    auto wrap = [](glm::vec2 x, glm::vec2 m) { return x - m * glm::floor(x / m); };
    const glm::vec2 a = wrap(p, period) - half;
    const glm::vec2 b = wrap(p - half, period) - half;
    const glm::vec2 local = glm::dot(a, a) < glm::dot(b, b) ? a : b;
    const glm::vec2 q = glm::abs(local);
    const float centre_distance =
        std::max(glm::dot(q, glm::normalize(glm::vec2(1.0f, std::sqrt(3.0f)))), q.x);
    return 0.5f - centre_distance;
}

// The walls: a faint honeycomb of force field, brighter at its rim, with
// brackets at the corners. Alpha is opacity here: the walls are blended.
glm::vec4 bounds_texel(float u, float v)
{
    constexpr float CELLS_ACROSS = 12.0f;
    constexpr float BLUR = 1.5f / 256.0f;
    const float edge = std::min(std::min(u, 1.0f - u), std::min(v, 1.0f - v));
    const float shimmer = fractal_noise(8.0f * u, 8.0f * v, 4, 51u);

    float alpha = 0.015f + 0.02f * shimmer;
    const float cell_edge = honeycomb_edge_distance(CELLS_ACROSS * glm::vec2(u, v));
    alpha += 0.07f * line(cell_edge, 0.015f, 0.03f) * (0.3f + 1.2f * shimmer);
    alpha += 0.3f * std::exp(-edge / 0.02f);
    alpha += 0.4f * line(edge - 0.008f, 0.004f, BLUR);

    // Brackets: an L in each corner.
    const float du = std::min(u, 1.0f - u);
    const float dv = std::min(v, 1.0f - v);
    const float bracket = std::min(box_distance({du, dv}, {0.06f, 0.02f}, {0.05f, 0.006f}),
                                   box_distance({du, dv}, {0.02f, 0.06f}, {0.006f, 0.05f}));
    const float on_bracket = inside(bracket, BLUR);
    alpha = glm::mix(alpha, 0.8f, on_bracket);

    const glm::vec3 colour =
        glm::mix(FIELD, FIELD_EDGE, std::max(on_bracket, std::exp(-edge / 0.02f)));
    return {colour, std::min(alpha, 1.0f)};
}

} // namespace

Image paint_cone()
{
    Image image(64, 64);
    image.paint(cone_texel);
    return image;
}

Image paint_glow()
{
    Image image(64, 64);
    image.paint(glow_texel, 4);
    return image;
}

Image paint_bounds()
{
    Image image(256, 256);
    image.paint(bounds_texel);
    return image;
}
