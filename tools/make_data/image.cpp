#include "image.h"

#include <FreeImage.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

float srgb_to_linear(float value)
{
    return value <= 0.04045f ? value / 12.92f : std::pow((value + 0.055f) / 1.055f, 2.4f);
}

float linear_to_srgb(float value)
{
    value = std::clamp(value, 0.0f, 1.0f);
    return value <= 0.0031308f ? value * 12.92f : 1.055f * std::pow(value, 1.0f / 2.4f) - 0.055f;
}

glm::vec3 srgb_to_linear(glm::vec3 colour)
{
    return {srgb_to_linear(colour.r), srgb_to_linear(colour.g), srgb_to_linear(colour.b)};
}

glm::vec3 linear_to_srgb(glm::vec3 colour)
{
    return {linear_to_srgb(colour.r), linear_to_srgb(colour.g), linear_to_srgb(colour.b)};
}

Image::Image(int width, int height, glm::vec4 fill)
    : width_(width), height_(height), pixels(static_cast<size_t>(width) * height, fill)
{
}

Image half_size(const Image& image)
{
    Image half(std::max(1, image.width() / 2), std::max(1, image.height() / 2));
    for (int y = 0; y < half.height(); ++y)
        for (int x = 0; x < half.width(); ++x) {
            glm::vec3 colour(0.0f);
            float alpha = 0.0f;
            for (int dy = 0; dy < 2; ++dy)
                for (int dx = 0; dx < 2; ++dx) {
                    const glm::vec4& texel = image.at(std::min(2 * x + dx, image.width() - 1),
                                                      std::min(2 * y + dy, image.height() - 1));
                    colour += srgb_to_linear(glm::vec3(texel));
                    alpha += texel.a;
                }
            half.at(x, y) = glm::vec4(linear_to_srgb(colour / 4.0f), alpha / 4.0f);
        }
    return half;
}

namespace {

BYTE to_byte(float value)
{
    return static_cast<BYTE>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f));
}

} // namespace

void save_png(const Image& image, const std::string& path)
{
    FIBITMAP* bitmap = FreeImage_Allocate(image.width(), image.height(), 32);
    if (bitmap == nullptr)
        throw std::runtime_error(path + ": out of memory for the image");
    // FreeImage's scan line 0 is the bottom row, like ours.
    for (int y = 0; y < image.height(); ++y) {
        BYTE* line = FreeImage_GetScanLine(bitmap, y);
        for (int x = 0; x < image.width(); ++x) {
            const glm::vec4& texel = image.at(x, y);
            BYTE* pixel = line + 4 * x;
            pixel[FI_RGBA_RED] = to_byte(texel.r);
            pixel[FI_RGBA_GREEN] = to_byte(texel.g);
            pixel[FI_RGBA_BLUE] = to_byte(texel.b);
            pixel[FI_RGBA_ALPHA] = to_byte(texel.a);
        }
    }
    const bool saved = FreeImage_Save(FIF_PNG, bitmap, path.c_str(), PNG_DEFAULT) != 0;
    FreeImage_Unload(bitmap);
    if (!saved)
        throw std::runtime_error(path + ": cannot write the image");
}
