// The ship: white plating with panel lines and a red racing stripe, dark
// glass, grey wings with red tips, dark engines with glowing exhausts, and
// red and green lights at the wing tips.
#include "atlas.h"
#include "noise.h"
#include "paint.h"
#include "textures.h"

namespace {

constexpr int SIZE = static_cast<int>(SHIP_TEXTURE_SIZE);
constexpr float BLUR = 1.0f / SIZE;

const glm::vec3 PLATING(0.86f, 0.87f, 0.89f);
const glm::vec3 PANEL_LINE(0.38f, 0.40f, 0.44f);
const glm::vec3 STRIPE(0.78f, 0.10f, 0.08f);
const glm::vec3 NOSE(0.24f, 0.25f, 0.28f);
const glm::vec3 GLASS(0.03f, 0.07f, 0.14f);
const glm::vec3 GLASS_SHINE(0.45f, 0.62f, 0.85f);
const glm::vec3 WING(0.58f, 0.61f, 0.67f);
const glm::vec3 ENGINE(0.22f, 0.23f, 0.26f);
const glm::vec3 EXHAUST_CORE(1.00f, 0.96f, 0.82f);
const glm::vec3 EXHAUST_EDGE(1.00f, 0.45f, 0.08f);
const glm::vec3 PORT_RED(1.00f, 0.16f, 0.10f);
const glm::vec3 STARBOARD_GREEN(0.20f, 1.00f, 0.35f);

bool in(glm::vec2 uv, Rect region)
{
    return uv.x >= region.min.x && uv.x < region.max.x && uv.y >= region.min.y &&
           uv.y < region.max.y;
}

// s runs from tail to nose, t across the ship.
glm::vec4 hull(glm::vec2 st)
{
    glm::vec4 texel(PLATING, 1.0f);
    // Panels: long along the ship, staggered across.
    const float across = grid_distance(st.y, 0.25f);
    const float stagger = std::floor(st.y / 0.25f) * 0.06f;
    const float along = grid_distance(st.x + stagger, 0.125f);
    paint_over(texel, PANEL_LINE, 0.8f * line(std::min(across, along), 0.0035f, 2.0f * BLUR));
    // Racing stripe down the middle, with thin dark edges.
    const float stripe = std::abs(st.y - 0.5f);
    paint_over(texel, STRIPE, inside(stripe - 0.055f, 2.0f * BLUR));
    paint_over(texel, PANEL_LINE, line(stripe - 0.07f, 0.004f, 2.0f * BLUR));
    // A dark nose, and vents at the tail.
    paint_over(texel, NOSE, inside(0.9f - st.x, 2.0f * BLUR));
    for (int vent = 0; vent < 4; ++vent) {
        const glm::vec2 centre(0.06f, 0.2f + 0.2f * static_cast<float>(vent));
        paint_over(texel, NOSE, inside(box_distance(st, centre, {0.03f, 0.012f}), 2.0f * BLUR));
    }
    shade(texel, 0.94f + 0.08f * fractal_noise(12.0f * st.x, 12.0f * st.y, 4, 31u));
    return texel;
}

glm::vec4 canopy(glm::vec2 st)
{
    glm::vec4 texel(GLASS, 1.0f);
    const float shine = line(st.x + 0.6f * st.y - 0.75f, 0.07f, 0.06f);
    paint_over(texel, GLASS_SHINE, 0.55f * shine);
    paint_over(texel, GLASS_SHINE, 0.25f * line(st.x + 0.6f * st.y - 0.98f, 0.025f, 0.03f));
    return texel;
}

// The wings and the fin: s along the ship, t out to the tip (or up the fin).
glm::vec4 wing(glm::vec2 st)
{
    glm::vec4 texel(WING, 1.0f);
    paint_over(texel, PANEL_LINE,
               0.7f * line(std::min(grid_distance(st.x, 0.2f), grid_distance(st.y, 0.33f)), 0.004f,
                           2.0f * BLUR));
    paint_over(texel, STRIPE, inside(std::abs(st.y - 0.84f) - 0.06f, 2.0f * BLUR));
    shade(texel, 0.93f + 0.1f * fractal_noise(10.0f * st.x, 10.0f * st.y, 4, 32u));
    return texel;
}

glm::vec4 engine(glm::vec2 st)
{
    glm::vec4 texel(ENGINE, 1.0f);
    paint_over(texel, PANEL_LINE, 0.6f * line(grid_distance(st.x, 0.125f), 0.006f, 2.0f * BLUR));
    shade(texel, 0.9f + 0.15f * fractal_noise(16.0f * st.x, 16.0f * st.y, 3, 33u));
    return texel;
}

glm::vec4 exhaust(glm::vec2 st)
{
    const float r = glm::length(st - glm::vec2(0.5f)) * 2.0f;
    glm::vec4 texel(0.0f);
    paint_glow(texel, glm::mix(EXHAUST_CORE, EXHAUST_EDGE, glm::smoothstep(0.1f, 0.9f, r)), 1.0f);
    return texel;
}

glm::vec4 ship_texel(float u, float v)
{
    const glm::vec2 uv(u, v);
    if (in(uv, SHIP_HULL))
        return hull(local(uv, SHIP_HULL.min, SHIP_HULL.max));
    if (in(uv, SHIP_CANOPY))
        return canopy(local(uv, SHIP_CANOPY.min, SHIP_CANOPY.max));
    if (in(uv, SHIP_WING))
        return wing(local(uv, SHIP_WING.min, SHIP_WING.max));
    if (in(uv, SHIP_ENGINE))
        return engine(local(uv, SHIP_ENGINE.min, SHIP_ENGINE.max));
    if (in(uv, SHIP_EXHAUST))
        return exhaust(local(uv, SHIP_EXHAUST.min, SHIP_EXHAUST.max));
    glm::vec4 texel(ENGINE, 1.0f);
    if (in(uv, SHIP_PORT_LIGHT))
        paint_glow(texel, PORT_RED, 1.0f);
    else if (in(uv, SHIP_STARBOARD_LIGHT))
        paint_glow(texel, STARBOARD_GREEN, 1.0f);
    return texel;
}

} // namespace

Image paint_ship()
{
    Image image(SIZE, SIZE);
    image.paint(ship_texel);
    return image;
}
