// The game's models, built in code.
#pragma once

#include "obj_writer.h"

#include <string>
#include <vector>

struct Model {
    std::string name; // the file is obj/<name>.obj
    Mesh mesh;
    Material material;
};

// Every model the game loads, in the order of its model table.
std::vector<Model> make_models();

// The level's pieces (models_level.cpp).
Model make_skybox();
Model make_cube();
Model make_particle();
Model make_bound(int number); // 1 to 6

// The ship and its heading marker (models_ship.cpp).
Model make_ship();
Model make_cone();

// The goal and the beamer (models_goal.cpp).
Model make_goal_base();
Model make_goal_rotate();
Model make_beamer();
