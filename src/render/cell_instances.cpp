#include "render/cell_instances.h"

#include "game/game.h"
#include "game/level_grid.h"
#include "render/hidden_cubes.h"

#include <GL/glew.h>
#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>

namespace {

// The switch that makes the Phong program read a cell's matrix.
constexpr const char* SWITCH_UNIFORM = "cells_instanced";

constexpr glm::vec3 CELL_CENTRE{0.5f};
// How far past its cell a model may reach, in cells: a cube turned about
// its centre reaches sqrt(3)/2 from it.
constexpr float MODEL_REACH = 0.37f;

} // namespace

CellInstances::CellInstances()
{
    glGenBuffers(1, &buffer_);
    glGenTextures(1, &texture_);
    glBindBuffer(GL_TEXTURE_BUFFER, buffer_);
    glBindTexture(GL_TEXTURE_BUFFER, texture_);
    glTexBuffer(GL_TEXTURE_BUFFER, GL_RGBA32F, buffer_);
    glBindTexture(GL_TEXTURE_BUFFER, 0);
    glBindBuffer(GL_TEXTURE_BUFFER, 0);
}

bool CellInstances::use_program(uint32_t program)
{
    if (program != program_) {
        program_ = program;
        switch_location_ = glGetUniformLocation(program, SWITCH_UNIFORM);
        instanced_ = switch_location_ >= 0 && glGetUniformLocation(program, CELL_MATRICES_UNIFORM) >= 0;
    }
    return instanced_;
}

const std::vector<uint32_t>& CellInstances::sort(const Game& game, glm::vec3 eye)
{
    const std::vector<glm::vec4>& cells = game.cubes;
    const std::vector<bool> hidden = hidden_cubes(cells, game.grid_size, eye);
    by_distance_.clear();
    for (size_t k = 0; k < cells.size(); ++k) {
        if (hidden[k])
            continue;
        const glm::vec3 to_eye = glm::vec3(cells[k]) + CELL_CENTRE - eye;
        by_distance_.emplace_back(glm::dot(to_eye, to_eye), static_cast<uint32_t>(k));
    }
    std::sort(by_distance_.begin(), by_distance_.end());
    order_.clear();
    for (const auto& entry : by_distance_)
        order_.push_back(entry.second);
    return order_;
}

const std::vector<uint32_t>& CellInstances::keep_within(const Game& game, const glm::mat4& clip,
                                                        const ScreenRect& part)
{
    const auto outside = [&](uint32_t k) {
        const glm::vec3 cell(game.cubes[k]);
        return !overlap(part, screen_rect_of_box(clip, cell - MODEL_REACH, cell + 1.0f + MODEL_REACH, game.width,
                                                 game.height));
    };
    order_.erase(std::remove_if(order_.begin(), order_.end(), outside), order_.end());
    return order_;
}

int32_t CellInstances::upload_cubes(const Game& game)
{
    matrices_.clear();
    for (uint32_t k : order_) {
        const glm::vec4& cell = game.cubes[k];
        if (static_cast<int>(cell.w) == CELL_CUBE)
            matrices_.push_back(glm::translate(glm::mat4(1.0f), glm::vec3(cell)) * game.cube_rotations[k]);
    }
    glBindBuffer(GL_TEXTURE_BUFFER, buffer_);
    // A new store each frame: the driver need not wait for the last frame's
    // draw to finish reading the old one.
    glBufferData(GL_TEXTURE_BUFFER, static_cast<GLsizeiptr>(matrices_.size() * sizeof(glm::mat4)),
                 matrices_.data(), GL_STREAM_DRAW);
    glBindBuffer(GL_TEXTURE_BUFFER, 0);
    glActiveTexture(GL_TEXTURE0 + CELL_MATRIX_UNIT);
    glBindTexture(GL_TEXTURE_BUFFER, texture_);
    glActiveTexture(GL_TEXTURE0);
    return static_cast<int32_t>(matrices_.size());
}
