// Small shapes and blends for painting textures as functions of (u, v).
#pragma once

#include <glm/glm.hpp>

#include <algorithm>
#include <cmath>

// 1 well inside, 0 well outside, a smooth step of width `blur` across the
// edge, for a signed distance that is negative inside.
inline float inside(float signed_distance, float blur)
{
    return 1.0f - glm::smoothstep(-blur, blur, signed_distance);
}

// Signed distance to an axis-aligned box.
inline float box_distance(glm::vec2 point, glm::vec2 centre, glm::vec2 half_size)
{
    const glm::vec2 d = glm::abs(point - centre) - half_size;
    return glm::length(glm::max(d, glm::vec2(0.0f))) + std::min(std::max(d.x, d.y), 0.0f);
}

// 1 on a line of half width `half_width` along the zero of a distance.
inline float line(float distance, float half_width, float blur)
{
    return inside(std::abs(distance) - half_width, blur);
}

// Distance to the nearest multiple of `spacing`.
inline float grid_distance(float x, float spacing)
{
    const float cell = x / spacing;
    return std::abs(cell - std::round(cell)) * spacing;
}

// Paints `colour` over the texel's colour with the given coverage; alpha is
// left as it is.
inline void paint_over(glm::vec4& texel, glm::vec3 colour, float coverage)
{
    texel = glm::vec4(glm::mix(glm::vec3(texel), colour, coverage), texel.a);
}

// Paints a self-lit colour: in lit passes the shader shows texels with low
// alpha at their own colour, whatever the light.
inline void paint_glow(glm::vec4& texel, glm::vec3 colour, float coverage)
{
    texel = glm::mix(texel, glm::vec4(colour, 0.0f), coverage);
}

// Scales the colour, for wear and shading.
inline void shade(glm::vec4& texel, float factor)
{
    texel = glm::vec4(glm::clamp(glm::vec3(texel) * factor, 0.0f, 1.0f), texel.a);
}

// A texel of a sub-rectangle of a texture: where (u, v) lies in it, 0 to 1.
inline glm::vec2 local(glm::vec2 uv, glm::vec2 low, glm::vec2 high)
{
    return (uv - low) / (high - low);
}
