// The level editor's solver view: a soft dot in every cell the ship can
// rest in, a ringed cross in each dead end, and a chain of beads along one
// shortest way, rest to rest and through the beamers, with light running
// along it from the start to the goal. Drawn over everything, so that no
// mark hides behind a cube, the far marks fainter than the near ones.
#pragma once

#include "game/solver_marks.h"

#include <GL/glew.h>
#include <glm/glm.hpp>

#include <memory>

class SolverView {
public:
    // Builds its program; needs the OpenGL context.
    SolverView();
    ~SolverView();
    SolverView(const SolverView&) = delete;
    SolverView& operator=(const SolverView&) = delete;

    // Draws the marks over the scene. Its buffers are made again only when
    // `marks` is other marks than the last ones drawn; `seconds` moves the
    // light along the way.
    void draw(const glm::mat4& projection, const glm::mat4& camera, const glm::mat4& world,
              const std::shared_ptr<const SolverMarks>& marks, double seconds);

private:
    void fill_buffer(const SolverMarks& marks);

    GLuint program_ = 0; // 0 when the driver refused it: no view
    GLint transform_ = -1;
    GLint view_ = -1;
    GLuint vertex_array_ = 0;
    GLuint buffer_ = 0;
    // Held, not just remembered by address: marks made after these were
    // freed could otherwise come at the same address and never be drawn.
    std::shared_ptr<const SolverMarks> filled_from_;
    GLsizei point_count_ = 0;
    glm::vec3 centre_{0.0f}; // of the box round the marks, in cells
    float radius_ = 0.0f;    // of the sphere round that box
};
