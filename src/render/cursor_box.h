// The level editor's cursor: a bright wire cube round one cell, drawn over
// the scene so that it shows through whatever fills or hides the cell.
#pragma once

#include "game/ship_motion.h"

#include <GL/glew.h>
#include <glm/glm.hpp>

class CursorBox {
public:
    // Builds its program and its twelve edges; needs the OpenGL context.
    CursorBox();
    ~CursorBox();
    CursorBox(const CursorBox&) = delete;
    CursorBox& operator=(const CursorBox&) = delete;

    // Draws the box round the cell; `seconds` makes it breathe, so that it
    // reads as the cursor and not as part of the level.
    void draw(const glm::mat4& projection, const glm::mat4& camera, const glm::mat4& world, Cell cell,
              double seconds) const;

private:
    GLuint program_ = 0; // 0 when the driver refused it: no cursor
    GLint transform_ = -1;
    GLint colour_ = -1;
    GLuint vertex_array_ = 0;
    GLuint buffer_ = 0;
};
