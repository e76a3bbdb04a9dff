// RGBA images for the generated textures. Colours are the values stored in
// the file: sRGB-encoded, 0 to 1, alpha straight (not premultiplied).
#pragma once

#include <glm/glm.hpp>

#include <string>
#include <vector>

float srgb_to_linear(float value);
float linear_to_srgb(float value);
glm::vec3 srgb_to_linear(glm::vec3 colour);
glm::vec3 linear_to_srgb(glm::vec3 colour);

class Image {
public:
    Image(int width, int height, glm::vec4 fill = glm::vec4(0.0f, 0.0f, 0.0f, 1.0f));

    int width() const { return width_; }
    int height() const { return height_; }

    // Row 0 is the bottom row, texture coordinate v = 0, as in OpenGL.
    glm::vec4& at(int x, int y) { return pixels[static_cast<size_t>(y) * width_ + x]; }
    const glm::vec4& at(int x, int y) const { return pixels[static_cast<size_t>(y) * width_ + x]; }

    // Sets every texel from a function of texture coordinates (u, v), averaged
    // over samples x samples points inside the texel so that edges are smooth.
    template <typename Function> void paint(Function colour_at, int samples = 2)
    {
        const float step = 1.0f / static_cast<float>(samples);
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) {
                glm::vec4 sum(0.0f);
                for (int sy = 0; sy < samples; ++sy)
                    for (int sx = 0; sx < samples; ++sx) {
                        const float u = (static_cast<float>(x) + (sx + 0.5f) * step) / width_;
                        const float v = (static_cast<float>(y) + (sy + 0.5f) * step) / height_;
                        sum += colour_at(u, v);
                    }
                at(x, y) = sum / static_cast<float>(samples * samples);
            }
    }

private:
    int width_;
    int height_;
    std::vector<glm::vec4> pixels;
};

// The next mip level: half the size, each texel the average of four in
// linear light, so that fine bright detail does not darken as it shrinks.
Image half_size(const Image& image);

// Writes a 32-bit PNG. Throws std::runtime_error naming the file on failure.
void save_png(const Image& image, const std::string& path);
