// The application icon: one of the game's cubes in a three-quarter view,
// lit from the upper left as its bolts are, with the goal's green light
// rising behind it and the force field's cyan around its edges, on a
// rounded tile of the night sky the levels float in.
//
// The cube is ray marched as the rounded box the model is and dressed in
// the game's own cube texture; the tile shows the nebulae of a face of the
// game's own sky, blurred and brightened, with a few stars. Light is added
// up in linear light, many samples a pixel, and every size is painted on
// its own: what must read at 16 pixels (the rim, the cube's outline) is
// never thinner than a pixel there, and what would only be noise (stars,
// haze) fades out.
#include "icons.h"

#include "atlas.h"
#include "random.h"
#include "sky.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

namespace {

// A texture in linear light with its mip levels, sampled bilinearly from
// the level whose texels are about as far apart as the samples.
class Sampler {
public:
    explicit Sampler(const Image& image)
    {
        Image level = image;
        for (;;) {
            levels.push_back(to_linear(level));
            if (level.width() == 1 && level.height() == 1)
                break;
            level = half_size(level);
        }
    }

    // `spacing`: texels of level 0 between neighbouring samples.
    glm::vec4 at(glm::vec2 uv, float spacing) const
    {
        const int last = static_cast<int>(levels.size()) - 1;
        const int number =
            std::clamp(static_cast<int>(std::log2(std::max(spacing, 1.0f))), 0, last);
        const Image& level = levels[static_cast<size_t>(number)];
        const float x = uv.x * static_cast<float>(level.width()) - 0.5f;
        const float y = uv.y * static_cast<float>(level.height()) - 0.5f;
        const int x0 = static_cast<int>(std::floor(x));
        const int y0 = static_cast<int>(std::floor(y));
        auto texel = [&](int tx, int ty) {
            return level.at(std::clamp(tx, 0, level.width() - 1),
                            std::clamp(ty, 0, level.height() - 1));
        };
        const float fx = x - static_cast<float>(x0);
        const float fy = y - static_cast<float>(y0);
        return glm::mix(glm::mix(texel(x0, y0), texel(x0 + 1, y0), fx),
                        glm::mix(texel(x0, y0 + 1), texel(x0 + 1, y0 + 1), fx), fy);
    }

    int width() const { return levels.front().width(); }

private:
    static Image to_linear(const Image& image)
    {
        Image linear(image.width(), image.height());
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const glm::vec4& texel = image.at(x, y);
                linear.at(x, y) = glm::vec4(srgb_to_linear(glm::vec3(texel)), texel.a);
            }
        return linear;
    }

    std::vector<Image> levels;
};

const Image& texture_named(const std::vector<Texture>& textures, const std::string& name)
{
    for (const Texture& texture : textures)
        if (texture.name == name)
            return texture.image;
    throw std::logic_error("the icon is painted from " + name + ", which is not painted");
}

// The icon's plane runs from -1 to 1 across, y up.
constexpr float TILE_HALF = 0.90f;
constexpr float TILE_CORNER = 0.34f;
const glm::vec3 TILE_TOP(0.016f, 0.040f, 0.140f); // linear: a deep night blue
const glm::vec3 TILE_BOTTOM(0.002f, 0.005f, 0.028f);
const glm::vec3 RIM(0.30f, 0.62f, 1.00f);
const glm::vec3 SHEEN(0.010f, 0.018f, 0.035f);
constexpr float SKY_GAIN = 2.0f;       // the game's sky is far darker than a menu
constexpr float SKY_SATURATION = 1.8f; // and greyer, seen this small
constexpr float SKY_ZOOM = 0.75f;      // of the sky face's width, across the tile
constexpr int SKY_FACE = 4;            // the one with the richest nebulae
// The sky texture's own stars are texels, a speckle at icon sizes: its
// nebulae are taken blurred, and a few larger stars are set on them.
constexpr int SKY_SHRINK = 2;           // halvings before the blur
constexpr float SKY_BLUR_RADIUS = 3.0f; // texels of the shrunk face
constexpr size_t ICON_STARS = 34;
constexpr uint64_t ICON_STAR_SEED = 0x7A1C;
constexpr float SPARKLE_LENGTH = 0.035f;
constexpr float SPARKLE_BRIGHTNESS = 1.3f; // the stars above it have a cross of light

// The cube: where its centre is on the tile, and tile units per cell.
const glm::vec2 CUBE_CENTRE(0.0f, 0.06f);
constexpr float CUBE_SCALE = 0.64f;
constexpr float SMALL_CUBE_SCALE = 0.72f; // at 16 pixels, where every pixel of it counts
constexpr float CUBE_CLEARANCE = 0.78f;   // no stars nearer its centre than this
constexpr float YAW = 0.62f;              // from the front, round to the right
constexpr float PITCH = 0.50f;            // looking down on it

// A key light from the upper left, the side the texture's bolts are lit
// from, strong enough to show the steel as the grey it is in play.
const glm::vec3 SUN_COLOUR(1.00f, 0.97f, 0.92f);
constexpr float SUN = 2.2f;
const glm::vec3 AMBIENT(0.30f, 0.36f, 0.48f);
const glm::vec3 FIELD_CYAN(0.25f, 0.80f, 1.00f); // the walls' and the ring's
const glm::vec3 GOAL_GLOW(0.30f, 1.00f, 0.55f);  // the green of the goal's lights
const glm::vec2 GOAL_CENTRE(0.0f, -0.42f);       // the goal's light, on the tile

// One face of the sky, shrunk and blurred in linear light: the nebulae
// without the stars. The result is sRGB, as images are.
Image blurred_sky_face(Image sky, const SkyFace& face)
{
    for (int k = 0; k < SKY_SHRINK; ++k)
        sky = half_size(sky);
    const int side = SKY_FACE_TEXELS >> SKY_SHRINK;
    const int reach = static_cast<int>(std::ceil(3.0f * SKY_BLUR_RADIUS));
    std::vector<float> weights;
    for (int d = -reach; d <= reach; ++d)
        weights.push_back(
            std::exp(-0.5f * static_cast<float>(d * d) / (SKY_BLUR_RADIUS * SKY_BLUR_RADIUS)));
    auto blur = [&](auto&& texel) {
        Image out(side, side);
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x) {
                glm::vec3 sum(0.0f);
                float total = 0.0f;
                for (int d = -reach; d <= reach; ++d) {
                    const float w = weights[static_cast<size_t>(d + reach)];
                    sum += w * texel(x, y, d);
                    total += w;
                }
                out.at(x, y) = glm::vec4(sum / total, 1.0f);
            }
        return out;
    };
    const Image across = blur([&](int x, int y, int d) {
        const int tx = std::clamp(x + d, 0, side - 1);
        return srgb_to_linear(glm::vec3(sky.at(face.column * side + tx, face.row * side + y)));
    });
    Image both = blur([&](int x, int y, int d) {
        return glm::vec3(across.at(x, std::clamp(y + d, 0, side - 1)));
    });
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            both.at(x, y) = glm::vec4(linear_to_srgb(glm::vec3(both.at(x, y))), 1.0f);
    return both;
}

float rounded_square_distance(glm::vec2 p, float half, float corner)
{
    const glm::vec2 d = glm::abs(p) - glm::vec2(half - corner);
    return glm::length(glm::max(d, glm::vec2(0.0f))) + std::min(std::max(d.x, d.y), 0.0f) - corner;
}

struct IconStar {
    glm::vec2 at;
    glm::vec3 colour; // linear, brightness included
    float radius;
    bool sparkles;
};

// Blue-white to warm, mostly white, as in the game's sky; none behind the
// cube's glow, where they would look like sparks on its edges, nor on the
// tile's rim.
std::vector<IconStar> make_icon_stars()
{
    const glm::vec3 colours[] = {
        {0.70f, 0.80f, 1.00f}, {1.00f, 0.97f, 0.94f}, {1.00f, 0.86f, 0.66f}};
    Random random(ICON_STAR_SEED);
    std::vector<IconStar> stars;
    while (stars.size() < ICON_STARS) {
        const float x = random.range(-TILE_HALF, TILE_HALF);
        const glm::vec2 at(x, random.range(-TILE_HALF, TILE_HALF));
        const float brightness = 0.25f + 2.5f * std::pow(random.uniform(), 6.0f);
        const glm::vec3 colour = colours[static_cast<int>(random.uniform() * 2.999f)];
        if (glm::length(at - CUBE_CENTRE) < CUBE_CLEARANCE ||
            rounded_square_distance(at, TILE_HALF - 0.06f, TILE_CORNER) > 0.0f)
            continue;
        stars.push_back({at, colour * brightness, 0.004f + 0.004f * std::min(brightness, 1.0f),
                         brightness > SPARKLE_BRIGHTNESS});
    }
    return stars;
}

// The cube model: a unit box whose edges are rounded by its chamfer.
float cube_distance(glm::vec3 p)
{
    const glm::vec3 d = glm::abs(p) - glm::vec3(0.5f - CUBE_BEVEL);
    return glm::length(glm::max(d, glm::vec3(0.0f))) +
           std::min(std::max(d.x, std::max(d.y, d.z)), 0.0f) - CUBE_BEVEL;
}

glm::vec3 cube_normal(glm::vec3 p)
{
    constexpr float E = 1e-3f;
    auto slope = [&](glm::vec3 step) { return cube_distance(p + step) - cube_distance(p - step); };
    return glm::normalize(glm::vec3(slope({E, 0.0f, 0.0f}), slope({0.0f, E, 0.0f}),
                                    slope({0.0f, 0.0f, E})));
}

// Where a point of the cube's surface is in the texture of its face, each
// side face upright, as the model lays them.
glm::vec2 cube_uv(glm::vec3 p)
{
    const glm::vec3 a = glm::abs(p);
    if (a.x >= a.y && a.x >= a.z)
        return {0.5f - std::copysign(1.0f, p.x) * p.z, 0.5f + p.y};
    if (a.z >= a.y)
        return {0.5f + std::copysign(1.0f, p.z) * p.x, 0.5f + p.y};
    return {0.5f + p.x, 0.5f - std::copysign(1.0f, p.y) * p.z};
}

// What changes with the size painted.
struct Frame {
    float pixel;     // a pixel's width on the tile's plane
    float spacing;   // between neighbouring samples
    float tile_half; // the tile's edge falls on a pixel's edge
    float detail;    // 0 at 16 pixels, 1 from 96 on: how much of the soft light to keep
    float cube_scale;
};

Frame frame_for(int size, int samples)
{
    const float pixel = 2.0f / static_cast<float>(size);
    const float margin = std::round(0.05f * static_cast<float>(size)) * pixel;
    Frame frame{pixel, pixel / static_cast<float>(samples), 1.0f - margin,
                glm::smoothstep(16.0f, 96.0f, static_cast<float>(size)), 0.0f};
    frame.cube_scale = glm::mix(SMALL_CUBE_SCALE, CUBE_SCALE, frame.detail);
    return frame;
}

class IconPainter {
public:
    explicit IconPainter(const std::vector<Texture>& textures)
        : cube(texture_named(textures, "cube.png")),
          sky(blurred_sky_face(texture_named(textures, "skybox.png"), SKY_FACES[SKY_FACE])),
          stars(make_icon_stars())
    {
        eye = glm::vec3(std::sin(YAW) * std::cos(PITCH), std::sin(PITCH),
                        std::cos(YAW) * std::cos(PITCH));
        right = glm::normalize(glm::cross(-eye, glm::vec3(0.0f, 1.0f, 0.0f)));
        up = glm::cross(right, -eye);
        sun = glm::normalize(-0.75f * right + 0.70f * up + 0.45f * eye);
        goal_light = glm::normalize(0.2f * right - 0.9f * up - 0.6f * eye);
    }

    Image paint(int size) const
    {
        const int samples = size <= 32 ? 8 : size <= 64 ? 6 : 4;
        const Frame frame = frame_for(size, samples);
        Image image(size, size, glm::vec4(0.0f));
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const glm::vec2 corner = -1.0f + frame.pixel * glm::vec2(x, y);
                glm::vec3 colour(0.0f);
                float coverage = 0.0f;
                for (int sy = 0; sy < samples; ++sy)
                    for (int sx = 0; sx < samples; ++sx) {
                        const glm::vec2 q =
                            corner + frame.spacing * glm::vec2(sx + 0.5f, sy + 0.5f);
                        if (rounded_square_distance(q, frame.tile_half, TILE_CORNER) > 0.0f)
                            continue;
                        colour += tone(light_at(q, frame));
                        coverage += 1.0f;
                    }
                if (coverage > 0.0f)
                    image.at(x, y) = glm::vec4(linear_to_srgb(colour / coverage),
                                               coverage / static_cast<float>(samples * samples));
            }
        return image;
    }

private:
    // Bright light rolls off instead of clipping, so glows keep their hue.
    static glm::vec3 tone(glm::vec3 light)
    {
        auto shoulder = [](float v) {
            return v < 0.7f ? v : 0.7f + 0.3f * (1.0f - std::exp(-(v - 0.7f) / 0.3f));
        };
        return {shoulder(light.r), shoulder(light.g), shoulder(light.b)};
    }

    glm::vec3 light_at(glm::vec2 q, const Frame& frame) const
    {
        glm::vec3 light = background(q, frame);
        // The goal's light, rising from below the cube.
        const glm::vec2 from_goal = (q - GOAL_CENTRE) / glm::vec2(0.75f, 0.55f);
        light += GOAL_GLOW * (0.10f + 0.20f * frame.detail) *
                 std::exp(-2.5f * glm::dot(from_goal, from_goal));

        const glm::vec3 origin = (q.x - CUBE_CENTRE.x) / frame.cube_scale * right +
                                 (q.y - CUBE_CENTRE.y) / frame.cube_scale * up + 2.0f * eye;
        float t = 0.0f;
        float nearest = 1e9f;
        for (int step = 0; step < 96 && t < 4.0f; ++step) {
            const glm::vec3 p = origin - t * eye;
            const float d = cube_distance(p);
            nearest = std::min(nearest, d);
            if (d < 1e-4f)
                return cube_light(p, frame.spacing / frame.cube_scale);
            t += d;
        }
        // The force field's glow round the cube: a bright seam along its
        // outline, at least most of a pixel wide, in a wider haze.
        const float seam = std::max(0.015f, 0.4f * frame.pixel) / frame.cube_scale;
        const float haze = std::max(0.10f, 2.0f * frame.pixel) / frame.cube_scale;
        const float in_seam = nearest / seam;
        return light + FIELD_CYAN * (0.55f * std::exp(-in_seam * in_seam) +
                                     (0.04f + 0.18f * frame.detail) * std::exp(-nearest / haze));
    }

    glm::vec3 background(glm::vec2 q, const Frame& frame) const
    {
        const float height = 0.5f + 0.5f * q.y / frame.tile_half;
        glm::vec3 light = glm::mix(TILE_BOTTOM, TILE_TOP, height);
        glm::vec3 nebula = glm::vec3(sky.at(0.5f + 0.5f * SKY_ZOOM * q, 1.0f));
        const float grey = (nebula.r + nebula.g + nebula.b) / 3.0f;
        nebula = glm::max(glm::vec3(0.0f), glm::vec3(grey) + SKY_SATURATION * (nebula - grey));
        light += SKY_GAIN * (0.25f + 0.75f * frame.detail) * nebula;
        // Darker towards the edges, for depth.
        light *= 1.0f - 0.45f * glm::smoothstep(0.3f, 1.3f, glm::length(q));

        // A star keeps its light as it shrinks, spread over at least half a
        // pixel, so that at small sizes the stars fade into the sky rather
        // than speckle it.
        const float least = 0.5f * frame.pixel;
        for (const IconStar& star : stars) {
            const glm::vec2 d = q - star.at;
            const float spread = std::max(star.radius, least);
            const float r2 = glm::dot(d, d) / (spread * spread);
            if (r2 < 16.0f)
                light += star.colour * (star.radius * star.radius / (spread * spread)) *
                         std::exp(-0.5f * r2);
            if (star.sparkles) {
                const glm::vec2 a = glm::abs(d);
                const float width = std::max(0.003f, least);
                const float arms = std::exp(-a.x / SPARKLE_LENGTH - a.y * a.y / (width * width)) +
                                   std::exp(-a.y / SPARKLE_LENGTH - a.x * a.x / (width * width));
                light += 0.35f * star.colour * (0.003f / width) * arms;
            }
        }

        // Glass: a faint sheen over the top, and a rim bright along the top
        // and fading down the sides.
        light += SHEEN * glm::smoothstep(0.1f, 0.9f, q.y) * (1.0f - 0.5f * std::abs(q.x));
        const float edge = -rounded_square_distance(q, frame.tile_half, TILE_CORNER);
        if (edge < std::max(0.018f, 0.7f * frame.pixel))
            light += RIM * (0.06f + 0.30f * height * height);
        return light;
    }

    glm::vec3 cube_light(glm::vec3 p, float spacing) const
    {
        const glm::vec3 n = cube_normal(p);
        const float facing = std::max(glm::dot(n, eye), 0.25f);
        const glm::vec2 uv = cube_uv(p);
        const glm::vec4 texel = cube.at(uv, spacing * static_cast<float>(cube.width()) / facing);
        const glm::vec3 albedo(texel);

        const glm::vec3 reflected = glm::reflect(-eye, n);
        const float diffuse = std::max(glm::dot(n, sun), 0.0f);
        const float specular = std::pow(std::max(glm::dot(reflected, sun), 0.0f), 24.0f);
        glm::vec3 lit =
            albedo * (AMBIENT + SUN * diffuse * SUN_COLOUR) + 0.5f * specular * SUN_COLOUR;
        lit += albedo * GOAL_GLOW * 1.2f * std::max(glm::dot(n, goal_light), 0.0f);
        // Polished steel mirrors the sky at grazing angles.
        const float fresnel =
            0.05f + 0.5f * std::pow(1.0f - std::max(glm::dot(n, eye), 0.0f), 3.0f);
        lit += fresnel * glm::mix(TILE_BOTTOM, FIELD_CYAN * 0.5f,
                                  glm::smoothstep(-0.2f, 0.9f, reflected.y));
        // Texels with low alpha are self-lit, as in the game's shader; they
        // bloom a little onto the steel round them.
        const glm::vec4 blurred = cube.at(uv, 24.0f);
        return glm::mix(1.4f * albedo, lit, texel.a) +
               0.8f * glm::vec3(blurred) * (1.0f - blurred.a);
    }

    Sampler cube;
    Sampler sky;
    std::vector<IconStar> stars;
    glm::vec3 eye;
    glm::vec3 right;
    glm::vec3 up;
    glm::vec3 sun;
    glm::vec3 goal_light;
};

} // namespace

std::vector<Icon> paint_icons(const std::vector<Texture>& textures)
{
    const IconPainter painter(textures);
    std::vector<Icon> icons;
    for (const int size : ICON_SIZES)
        icons.push_back({size, painter.paint(size)});
    return icons;
}
