// The game's textures, painted in code.
#pragma once

#include "image.h"

#include <string>
#include <vector>

struct Texture {
    std::string name; // the name the materials give; files are tex/<level><name>
    Image image;      // level 0
};

// Every texture a model's material names.
std::vector<Texture> make_textures();

Image paint_sky();          // textures_sky.cpp
Image paint_cube();         // textures_cube.cpp
Image paint_ship();         // textures_ship.cpp
Image paint_goal();         // textures_goal.cpp
Image paint_goal_crystal(); // textures_goal.cpp
Image paint_beamer();       // textures_goal.cpp
Image paint_cone();         // textures_effects.cpp
Image paint_glow();         // textures_effects.cpp
Image paint_bounds();       // textures_effects.cpp
