// The cube: a steel plate with a raised frame, corner bolts, a recessed
// centre with a glowing ring, and a row of glowing slots. The border the
// size of the model's chamfer is darker, worn metal.
#include "atlas.h"
#include "noise.h"
#include "paint.h"
#include "textures.h"

namespace {

constexpr int SIZE = 512;
constexpr float BLUR = 1.0f / SIZE; // one texel: edges stay crisp but smooth

const glm::vec3 STEEL(0.52f, 0.56f, 0.62f);
const glm::vec3 FRAME(0.41f, 0.45f, 0.51f);
const glm::vec3 CHAMFER(0.30f, 0.31f, 0.34f);
const glm::vec3 RECESS(0.24f, 0.27f, 0.32f);
const glm::vec3 GROOVE(0.10f, 0.11f, 0.13f);
const glm::vec3 HIGHLIGHT(0.70f, 0.74f, 0.80f);
const glm::vec3 ACCENT(0.25f, 0.85f, 1.00f);

constexpr float FRAME_INNER = 0.15f; // the frame runs from the chamfer to here
constexpr float RECESS_HALF = 0.20f; // half size of the recessed centre

glm::vec4 cube_texel(float u, float v)
{
    const glm::vec2 uv(u, v);
    const float edge = std::min(std::min(u, 1.0f - u), std::min(v, 1.0f - v));
    const float grain = fractal_noise(96.0f * u, 96.0f * v, 2, 21u);
    const float blotches = fractal_noise(5.0f * u, 5.0f * v, 4, 22u);

    glm::vec4 texel(STEEL, 1.0f);
    paint_over(texel, FRAME, inside(FRAME_INNER - edge, BLUR));
    paint_over(texel, CHAMFER, inside(CUBE_BEVEL - edge, BLUR));

    // The frame's inner edge: a groove with a lit lip above it.
    paint_over(texel, HIGHLIGHT, 0.5f * line(edge - FRAME_INNER - 0.006f, 0.003f, BLUR));
    paint_over(texel, GROOVE, line(edge - FRAME_INNER, 0.004f, BLUR));

    // The recessed centre, with its groove.
    const glm::vec2 centre(0.5f);
    const float recess = box_distance(uv, centre, glm::vec2(RECESS_HALF));
    paint_over(texel, RECESS, inside(recess, BLUR));
    paint_over(texel, GROOVE, line(recess, 0.005f, BLUR));
    paint_over(texel, HIGHLIGHT, 0.35f * line(recess + 0.012f, 0.003f, BLUR));

    // Bolts in the frame's corners, lit from the upper left.
    const float bolt_offset = 0.5f * (CUBE_BEVEL + FRAME_INNER);
    for (const float bx : {bolt_offset, 1.0f - bolt_offset})
        for (const float by : {bolt_offset, 1.0f - bolt_offset}) {
            const glm::vec2 to_bolt = uv - glm::vec2(bx, by);
            const float distance = glm::length(to_bolt) - 0.022f;
            const float light = 0.5f + 10.0f * (to_bolt.y - to_bolt.x);
            paint_over(texel, glm::mix(GROOVE, HIGHLIGHT, glm::clamp(light, 0.0f, 1.0f)),
                       inside(distance, BLUR));
            paint_over(texel, GROOVE, line(distance, 0.003f, BLUR));
        }

    // Wear: fine grain everywhere, broad darker blotches, lighter edges.
    shade(texel, 0.93f + 0.10f * grain);
    shade(texel, 0.90f + 0.16f * blotches);
    shade(texel, 1.0f + 0.15f * inside(edge - 0.012f, 2.0f * BLUR));

    // The glowing ring in the recess and a row of glowing slots below it.
    const float ring = std::abs(glm::length(uv - centre) - 0.12f);
    paint_glow(texel, ACCENT, line(ring, 0.012f, BLUR));
    paint_glow(texel, 0.35f * ACCENT,
               0.6f * line(ring, 0.03f, 6.0f * BLUR) * (1.0f - line(ring, 0.012f, BLUR)));
    paint_glow(texel, glm::vec3(0.85f, 1.0f, 1.0f), inside(glm::length(uv - centre) - 0.03f, BLUR));
    for (int slot = 0; slot < 5; ++slot) {
        const glm::vec2 slot_centre(0.34f + 0.08f * static_cast<float>(slot),
                                    0.5f * (CUBE_BEVEL + FRAME_INNER));
        paint_glow(texel, ACCENT, inside(box_distance(uv, slot_centre, {0.025f, 0.009f}), BLUR));
    }
    return texel;
}

} // namespace

Image paint_cube()
{
    Image image(SIZE, SIZE);
    image.paint(cube_texel);
    return image;
}
