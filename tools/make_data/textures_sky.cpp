// The starfield around the level: faint nebulae, a band of dense stars
// across the sky, and a few thousand stars of different colours. Painted in
// linear light from directions, so the six faces meet without seams.
#include "noise.h"
#include "random.h"
#include "sky.h"
#include "textures.h"

#include <glm/gtc/constants.hpp>

#include <cmath>
#include <vector>

namespace {

const glm::vec3 SPACE_COLOUR(0.0012f, 0.0012f, 0.0030f);
// The band of the galaxy lies along the great circle with this normal.
const glm::vec3 BAND_NORMAL = glm::normalize(glm::vec3(0.35f, 0.9f, -0.25f));
constexpr float BAND_WIDTH = 0.24f; // sine of its angular half width
const glm::vec3 BAND_COLOUR(0.030f, 0.026f, 0.034f);
const glm::vec3 NEBULA_VIOLET(0.034f, 0.008f, 0.052f);
const glm::vec3 NEBULA_TEAL(0.006f, 0.032f, 0.042f);

constexpr int FIELD_STARS = 3500;
constexpr int BAND_STARS = 4500;
constexpr uint64_t STAR_SEED = 0x57A125;

struct Star {
    glm::vec3 direction;
    glm::vec3 colour; // linear, brightness included
    float radius;     // gaussian radius in texels
};

float band_strength(glm::vec3 direction)
{
    const float across = glm::dot(direction, BAND_NORMAL) / BAND_WIDTH;
    return std::exp(-across * across);
}

glm::vec3 background(glm::vec3 d)
{
    glm::vec3 colour = SPACE_COLOUR;

    const float band = band_strength(d);
    const float cloud = fractal_noise(3.0f * d.x, 3.0f * d.y, 3.0f * d.z, 5, 11u);
    const float dust = glm::smoothstep(
        0.52f, 0.68f, fractal_noise(7.0f * d.x + 5.0f, 7.0f * d.y, 7.0f * d.z, 4, 12u));
    colour += BAND_COLOUR * band * (0.4f + 1.4f * cloud) * (1.0f - 0.75f * dust);

    // Nebulae: broad clouds, broken up by finer noise into wisps.
    const float wisps = fractal_noise(9.0f * d.x, 9.0f * d.y, 9.0f * d.z - 4.0f, 4, 15u);
    const float violet = glm::smoothstep(
        0.50f, 0.80f, fractal_noise(1.7f * d.x, 1.7f * d.y + 3.0f, 1.7f * d.z, 5, 13u));
    const float teal = glm::smoothstep(
        0.55f, 0.85f, fractal_noise(2.3f * d.x - 7.0f, 2.3f * d.y, 2.3f * d.z + 1.0f, 5, 14u));
    const float breakup = glm::smoothstep(0.3f, 0.75f, wisps);
    colour += (NEBULA_VIOLET * violet * violet + NEBULA_TEAL * teal * teal) * (0.25f + breakup);
    return colour;
}

glm::vec3 random_direction(Random& random)
{
    const float z = random.range(-1.0f, 1.0f);
    const float angle = random.range(0.0f, glm::two_pi<float>());
    const float r = std::sqrt(1.0f - z * z);
    return {r * std::cos(angle), r * std::sin(angle), z};
}

// Hot blue-white to cool orange, mostly white.
glm::vec3 star_colour(Random& random)
{
    const float temperature = random.uniform();
    if (temperature < 0.25f)
        return {0.70f, 0.80f, 1.00f};
    if (temperature < 0.70f)
        return {1.00f, 0.97f, 0.94f};
    if (temperature < 0.90f)
        return {1.00f, 0.86f, 0.66f};
    return {1.00f, 0.66f, 0.45f};
}

std::vector<Star> make_stars()
{
    Random random(STAR_SEED);
    std::vector<Star> stars;
    auto add = [&](glm::vec3 direction, float faintness) {
        // Few bright stars, many faint ones.
        const float brightness = faintness * (0.05f + 2.5f * std::pow(random.uniform(), 9.0f));
        const glm::vec3 colour = star_colour(random);
        const float radius = 0.42f + 0.38f * std::min(brightness, 1.0f);
        stars.push_back({direction, colour * brightness, radius});
    };
    for (int i = 0; i < FIELD_STARS; ++i)
        add(random_direction(random), 1.0f);
    // The band's stars: directions drawn near its circle, fainter.
    for (int placed = 0; placed < BAND_STARS;) {
        const glm::vec3 direction = random_direction(random);
        if (random.uniform() < band_strength(direction)) {
            add(direction, 0.45f);
            ++placed;
        }
    }
    return stars;
}

// Adds a star's light to one face's square, border included.
void splat(std::vector<glm::vec3>& light, const SkyFace& face, const Star& star)
{
    const float facing = glm::dot(star.direction, face.axis);
    if (facing <= 0.0f)
        return;
    const float s = glm::dot(star.direction, face.right) / facing;
    const float t = glm::dot(star.direction, face.up) / facing;
    const float limit = 1.0f + 2.0f * (SKY_BORDER_TEXELS + 4) / SKY_PICTURE_TEXELS;
    if (std::abs(s) > limit || std::abs(t) > limit)
        return;
    // Texel-centre coordinates inside the face's square.
    const float x = (s + 1.0f) * 0.5f * SKY_PICTURE_TEXELS + SKY_BORDER_TEXELS - 0.5f;
    const float y = (t + 1.0f) * 0.5f * SKY_PICTURE_TEXELS + SKY_BORDER_TEXELS - 0.5f;
    const int reach = static_cast<int>(std::ceil(3.0f * star.radius));
    for (int ty = static_cast<int>(y) - reach; ty <= static_cast<int>(y) + reach + 1; ++ty)
        for (int tx = static_cast<int>(x) - reach; tx <= static_cast<int>(x) + reach + 1; ++tx) {
            if (tx < 0 || ty < 0 || tx >= SKY_FACE_TEXELS || ty >= SKY_FACE_TEXELS)
                continue;
            const float dx = static_cast<float>(tx) - x;
            const float dy = static_cast<float>(ty) - y;
            const float weight =
                std::exp(-(dx * dx + dy * dy) / (2.0f * star.radius * star.radius));
            light[static_cast<size_t>(ty) * SKY_FACE_TEXELS + tx] += star.colour * weight;
        }
}

} // namespace

Image paint_sky()
{
    Image sky(SKY_TEXTURE_WIDTH, SKY_TEXTURE_HEIGHT);
    const std::vector<Star> stars = make_stars();
    for (const SkyFace& face : SKY_FACES) {
        std::vector<glm::vec3> light(static_cast<size_t>(SKY_FACE_TEXELS) * SKY_FACE_TEXELS);
        for (int y = 0; y < SKY_FACE_TEXELS; ++y)
            for (int x = 0; x < SKY_FACE_TEXELS; ++x) {
                const float s = (x + 0.5f - SKY_BORDER_TEXELS) / SKY_PICTURE_TEXELS * 2.0f - 1.0f;
                const float t = (y + 0.5f - SKY_BORDER_TEXELS) / SKY_PICTURE_TEXELS * 2.0f - 1.0f;
                const glm::vec3 direction =
                    glm::normalize(face.axis + s * face.right + t * face.up);
                light[static_cast<size_t>(y) * SKY_FACE_TEXELS + x] = background(direction);
            }
        for (const Star& star : stars)
            splat(light, face, star);
        for (int y = 0; y < SKY_FACE_TEXELS; ++y)
            for (int x = 0; x < SKY_FACE_TEXELS; ++x)
                sky.at(face.column * SKY_FACE_TEXELS + x, face.row * SKY_FACE_TEXELS + y) =
                    glm::vec4(linear_to_srgb(light[static_cast<size_t>(y) * SKY_FACE_TEXELS + x]),
                              1.0f);
    }
    return sky;
}
