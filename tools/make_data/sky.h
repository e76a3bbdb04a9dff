// How the sky's picture lies on the faces of the skybox. The texture is
// painted from directions and the model is given texture coordinates from
// the same mapping, so the two always agree.
#pragma once

#include "atlas.h"

#include <glm/glm.hpp>

#include <array>

struct SkyFace {
    glm::vec3 axis;  // from the centre to the face
    glm::vec3 right; // direction of growing s on the face
    glm::vec3 up;    // direction of growing t on the face
    int column;      // the face's square in the texture
    int row;
};

inline const std::array<SkyFace, 6> SKY_FACES{{
    {{1, 0, 0}, {0, 0, -1}, {0, 1, 0}, 0, 1},
    {{-1, 0, 0}, {0, 0, 1}, {0, 1, 0}, 1, 1},
    {{0, 1, 0}, {1, 0, 0}, {0, 0, -1}, 2, 1},
    {{0, -1, 0}, {1, 0, 0}, {0, 0, 1}, 0, 0},
    {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}, 1, 0},
    {{0, 0, -1}, {-1, 0, 0}, {0, 1, 0}, 2, 0},
}};

constexpr int SKY_TEXTURE_WIDTH = SKY_COLUMNS * SKY_FACE_TEXELS;
constexpr int SKY_TEXTURE_HEIGHT = SKY_ROWS * SKY_FACE_TEXELS;
// Texels from one edge of a face's picture to the other, border excluded.
constexpr int SKY_PICTURE_TEXELS = SKY_FACE_TEXELS - 2 * SKY_BORDER_TEXELS;

// Texture coordinates of the point (s, t) of a face, both in [-1, 1].
inline glm::vec2 sky_uv(const SkyFace& face, float s, float t)
{
    const float x = static_cast<float>(face.column * SKY_FACE_TEXELS + SKY_BORDER_TEXELS) +
                    (s + 1.0f) * 0.5f * SKY_PICTURE_TEXELS;
    const float y = static_cast<float>(face.row * SKY_FACE_TEXELS + SKY_BORDER_TEXELS) +
                    (t + 1.0f) * 0.5f * SKY_PICTURE_TEXELS;
    return {x / SKY_TEXTURE_WIDTH, y / SKY_TEXTURE_HEIGHT};
}
