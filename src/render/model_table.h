// The fixed list of models the game loads at start-up. A model's position in
// the list is its index in Game::mesh_records, by which the renderer and the
// particle system find it.
#pragma once

#include <array>

struct ModelFile {
    const char* file;
    bool has_mip_levels; // mip levels 1 to 3 come from prepared image files
    // The sky's texels go to the screen untouched: no light, no blending,
    // and always magnified. Its texture keeps the stored sRGB bytes, needs
    // no mip levels, and is drawn without the framebuffer's sRGB encoding,
    // the cheapest path for the pass that covers the whole window.
    bool shown_as_stored = false;
};

constexpr int MODEL_SKYBOX = 0;
constexpr int MODEL_CUBE = 1;
constexpr int MODEL_SHIP = 2;
constexpr int MODEL_GOAL = 3;
constexpr int MODEL_CONE = 4; // the heading marker
constexpr int MODEL_BEAMER = 5;
constexpr int MODEL_PARTICLE = 6; // its texture is the beamer effect's sprite
constexpr int MODEL_GOAL_ROTATE = 7;
constexpr int MODEL_FIRST_BOUND = 8; // the six walls around the level
constexpr int MODEL_LAST_BOUND = 13;
constexpr int MODEL_COUNT = 14;

constexpr std::array<ModelFile, MODEL_COUNT> MODEL_TABLE{{
    {"obj/skybox.obj", false, true},
    {"obj/cube.obj", true},
    {"obj/ship.obj", true},
    {"obj/goal_new.obj", true},
    {"obj/cone.obj", false},
    {"obj/beamer.obj", false},
    {"obj/particel.obj", true},
    {"obj/goal_rotate.obj", true},
    {"obj/bounds01.obj", true},
    {"obj/bounds02.obj", true},
    {"obj/bounds03.obj", true},
    {"obj/bounds04.obj", true},
    {"obj/bounds05.obj", true},
    {"obj/bounds06.obj", true},
}};
