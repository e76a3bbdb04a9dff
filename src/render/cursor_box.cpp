#include "render/cursor_box.h"

#include "gl/program_builder.h"

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

#include <cmath>

namespace {

const char* const BOX_VERTEX_SOURCE = R"(#version 150
uniform mat4 transform;
in vec3 in_position;
void main()
{
    gl_Position = transform * vec4(in_position, 1.0);
}
)";

const char* const BOX_FRAGMENT_SOURCE = R"(#version 150
uniform vec4 colour;
out vec4 out_color;
void main()
{
    out_color = colour;
}
)";

constexpr GLuint BOX_POSITION_LOCATION = 0;
constexpr int EDGE_VERTICES = 24;
// A little larger than the cell, so that a cube in it does not hide its
// edges, and pulsing between two brightnesses about once a second.
constexpr float GROWTH = 0.06f;
constexpr float PULSE_PER_SECOND = 6.0f; // radians
const glm::vec3 CURSOR_COLOUR{1.0f, 0.85f, 0.25f};

// The twelve edges of the unit cube as pairs of corners.
void edges(float (&corners)[EDGE_VERTICES * 3])
{
    int n = 0;
    const auto corner = [&](int x, int y, int z) {
        corners[n++] = static_cast<float>(x);
        corners[n++] = static_cast<float>(y);
        corners[n++] = static_cast<float>(z);
    };
    for (int a = 0; a < 2; ++a)
        for (int b = 0; b < 2; ++b) {
            corner(0, a, b), corner(1, a, b); // along x
            corner(a, 0, b), corner(a, 1, b); // along y
            corner(a, b, 0), corner(a, b, 1); // along z
        }
}

} // namespace

CursorBox::CursorBox()
{
    program_ = build_overlay_program(BOX_VERTEX_SOURCE, BOX_FRAGMENT_SOURCE, {{BOX_POSITION_LOCATION, "in_position"}});
    if (program_ == 0)
        return;
    transform_ = glGetUniformLocation(program_, "transform");
    colour_ = glGetUniformLocation(program_, "colour");

    float corners[EDGE_VERTICES * 3];
    edges(corners);
    glGenVertexArrays(1, &vertex_array_);
    glBindVertexArray(vertex_array_);
    glGenBuffers(1, &buffer_);
    glBindBuffer(GL_ARRAY_BUFFER, buffer_);
    glBufferData(GL_ARRAY_BUFFER, sizeof corners, corners, GL_STATIC_DRAW);
    glEnableVertexAttribArray(BOX_POSITION_LOCATION);
    glVertexAttribPointer(BOX_POSITION_LOCATION, 3, GL_FLOAT, GL_FALSE, 0, nullptr);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

CursorBox::~CursorBox()
{
    glDeleteBuffers(1, &buffer_);
    glDeleteVertexArrays(1, &vertex_array_);
    glDeleteProgram(program_);
}

void CursorBox::draw(const glm::mat4& projection, const glm::mat4& camera, const glm::mat4& world, Cell cell,
                     double seconds) const
{
    if (program_ == 0)
        return;
    const glm::mat4 box = glm::translate(glm::mat4(1.0f), glm::vec3(cell[0], cell[1], cell[2]) - glm::vec3(GROWTH)) *
                          glm::scale(glm::mat4(1.0f), glm::vec3(1.0f + 2.0f * GROWTH));
    const glm::mat4 transform = projection * camera * world * box;
    const float pulse = 0.75f + 0.25f * static_cast<float>(std::sin(seconds * PULSE_PER_SECOND));

    glDisable(GL_DEPTH_TEST);
    glUseProgram(program_);
    glUniformMatrix4fv(transform_, 1, GL_FALSE, glm::value_ptr(transform));
    glUniform4f(colour_, CURSOR_COLOUR.r * pulse, CURSOR_COLOUR.g * pulse, CURSOR_COLOUR.b * pulse, 1.0f);
    glLineWidth(2.0f);
    glBindVertexArray(vertex_array_);
    glDrawArrays(GL_LINES, 0, EDGE_VERTICES);
    glBindVertexArray(0);
    glLineWidth(1.0f);
    glUseProgram(0);
    glEnable(GL_DEPTH_TEST);
}
