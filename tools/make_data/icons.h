// The application icon, painted from the game's own textures.
#pragma once

#include "textures.h"

#include <array>
#include <vector>

// The sizes desktops ask for, in pixels a side.
inline constexpr std::array<int, 6> ICON_SIZES{16, 32, 48, 64, 128, 256};

struct Icon {
    int size;
    Image image; // size x size, alpha 0 outside the tile
};

// One icon for each of ICON_SIZES, from the textures make_textures() paints
// (the cube's and the sky's are used). Each size is painted on its own, with
// lines and glows no thinner than its pixels, so that small sizes stay crisp.
std::vector<Icon> paint_icons(const std::vector<Texture>& textures);
