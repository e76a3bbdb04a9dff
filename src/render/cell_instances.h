// The order the level's cells are drawn in, nearest the eye first, and
// the cubes' model matrices in a buffer texture, so that the renderer draws
// every cube of the level with one instanced call.
#pragma once

#include "transforms/screen_rect.h"

#include <glm/glm.hpp>

#include <cstdint>
#include <utility>
#include <vector>

class Game;

// The Phong program's sampler of the cube matrices, four texels (columns)
// a cube, and the texture unit it reads; unit 0 carries the model's own
// texture.
constexpr const char* CELL_MATRICES_UNIFORM = "cell_matrices";
constexpr int CELL_MATRIX_UNIT = 1;

class CellInstances {
public:
    // Makes the buffer and its texture. Needs the OpenGL context; the
    // objects end with it, so the destructor leaves OpenGL alone.
    CellInstances();

    // Finds, once per program, where it takes the cell matrices. False when
    // it has no such inputs (a player's own shader): then every cell is
    // drawn on its own.
    bool use_program(uint32_t program);
    // Where the program in use switches between the instance's matrix (1)
    // and cubetranslation_matrix (0).
    int32_t switch_location() const { return switch_location_; }

    // The indices of the game's cells, nearest the eye first, leaving out
    // the cubes that others hide whole; `eye` is in the cells' own
    // coordinates.
    const std::vector<uint32_t>& sort(const Game& game, glm::vec3 eye);
    // Drops from that order the cells that `clip` takes wholly outside
    // `part` of the window: a frame that draws only part of the window
    // need not shade their corners or bin their triangles.
    const std::vector<uint32_t>& keep_within(const Game& game, const glm::mat4& clip, const ScreenRect& part);

    // Writes the matrices of the cubes, in the order sort gave, to the
    // buffer and binds its texture on CELL_MATRIX_UNIT, leaving unit 0
    // active. Returns how many cubes there are.
    int32_t upload_cubes(const Game& game);

private:
    uint32_t buffer_ = 0;
    uint32_t texture_ = 0;
    uint32_t program_ = 0;
    int32_t switch_location_ = -1;
    bool instanced_ = false;
    std::vector<std::pair<float, uint32_t>> by_distance_; // squared distance, cell index
    std::vector<uint32_t> order_;
    std::vector<glm::mat4> matrices_;
};
