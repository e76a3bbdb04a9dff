// Where each part of a model finds its look in the model's texture. Shared
// by the model and the texture generators, which must agree.
#pragma once

#include "mesh.h"

// A region shrunk by `texels` on every side at the given texture size, so
// that filtering and the smaller mip levels do not pull in the neighbour's
// colours.
inline Rect inset(Rect region, float texels, float texture_size)
{
    const glm::vec2 margin(texels / texture_size);
    return {region.min + margin, region.max - margin};
}

// The ship's texture.
constexpr float SHIP_TEXTURE_SIZE = 512.0f;
constexpr Rect SHIP_HULL{{0.0f, 0.5f}, {1.0f, 1.0f}};
constexpr Rect SHIP_CANOPY{{0.0f, 0.25f}, {0.5f, 0.5f}};
constexpr Rect SHIP_WING{{0.5f, 0.25f}, {1.0f, 0.5f}};
constexpr Rect SHIP_EXHAUST{{0.0f, 0.0f}, {0.25f, 0.25f}};
constexpr Rect SHIP_PORT_LIGHT{{0.25f, 0.0f}, {0.375f, 0.125f}};     // red, left wing tip
constexpr Rect SHIP_STARBOARD_LIGHT{{0.375f, 0.0f}, {0.5f, 0.125f}}; // green, right wing tip
constexpr Rect SHIP_ENGINE{{0.5f, 0.0f}, {1.0f, 0.25f}};

// The texture of the goal's turning part.
constexpr float GOAL_CRYSTAL_TEXTURE_SIZE = 256.0f;
constexpr Rect GOAL_CRYSTAL{{0.0f, 0.0f}, {0.5f, 1.0f}};
constexpr Rect GOAL_RING{{0.5f, 0.0f}, {1.0f, 1.0f}};

// The cube's chamfered edges take this much of each face, in cell units and
// in texture coordinates alike.
constexpr float CUBE_BEVEL = 0.05f;

// The goal's base is a solid of revolution with this many sides; its
// texture has one panel per side.
constexpr int GOAL_SIDES = 12;

// The sky: one texture of 3 x 2 squares, one per cube face, each with a
// border that continues the face's picture so that filtering across the
// face's edge finds the right colours.
constexpr int SKY_FACE_TEXELS = 512;
constexpr int SKY_BORDER_TEXELS = 4;
constexpr int SKY_COLUMNS = 3;
constexpr int SKY_ROWS = 2;
