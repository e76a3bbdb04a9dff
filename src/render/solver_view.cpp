#include "render/solver_view.h"

#include "gl/program_builder.h"

#include <glm/gtc/type_ptr.hpp>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace {

// What a point marks; the shaders draw each its own way, and the beads
// through the beamers as the other beads.
enum MarkKind : int {
    MARK_RESTING = 0,
    MARK_DEAD_END = 1,
    MARK_BEAD = 2,    // on the way where the ship flies
    MARK_WAY_END = 3, // the start and the goal
    MARK_BEAMED = 4,  // from the beamer the ship enters to the one it leaves
};

struct MarkVertex {
    glm::vec3 position{0.0f}; // in cells
    float kind = 0.0f;        // a MarkKind
    float along = 0.0f;       // cells along the way from the start
};

const char* const VERTEX_SOURCE = R"(#version 150
uniform mat4 transform;
// x: pixels across a mark one cell wide at one cell from the eye; y: where
// the light along the way is, 0 to 1, moving on with time; z, w: how far
// from the eye the nearest and the farthest marks can be. The far ones are
// drawn fainter, which tells near from far where they overlap.
uniform vec4 view;
in vec3 in_position;
in float in_kind;
in float in_along;
flat out int shape;
flat out vec4 colour;
// By kind: diameters in cells, and colours as the screen shows them.
const float DIAMETER[5] = float[5](0.16, 0.21, 0.12, 0.30, 0.07);
const vec3 COLOUR[5] = vec3[5](vec3(0.72, 0.74, 1.0), vec3(1.0, 0.36, 0.16), vec3(0.5, 1.0, 0.62),
                               vec3(0.5, 1.0, 0.62), vec3(0.4, 0.8, 0.5));
const float WAVE_CELLS = 3.0; // between two crests of light
const float FARTHEST_STRENGTH = 0.5;
void main()
{
    gl_Position = transform * vec4(in_position, 1.0);
    int kind = int(in_kind + 0.5);
    shape = kind == 4 ? 2 : kind;
    gl_PointSize = clamp(DIAMETER[kind] * view.x / gl_Position.w, 3.0, 28.0);
    // Crests of light run along the way toward the goal, each brightest at
    // its head and fading behind it.
    float light = 1.0;
    if (kind == 2) {
        float phase = fract(in_along / WAVE_CELLS - view.y);
        light = 0.8 + 0.6 * pow(phase, 5.0);
    }
    float depth = clamp((gl_Position.w - view.z) / (view.w - view.z), 0.0, 1.0);
    colour = vec4(min(COLOUR[kind] * light, vec3(1.0)), 1.0) * mix(1.0, FARTHEST_STRENGTH, depth);
}
)";

// Each point is a shape in its square, premultiplied by its cover, most with
// a dark halo round them that darkens what lies behind: that keeps the marks
// readable over the bright walls as well as over the night sky. Worked out
// here, a shape costs the software renderer no more than a texture of them.
const char* const FRAGMENT_SOURCE = R"(#version 150
flat in int shape;
flat in vec4 colour;
out vec4 out_color;
const float HALO = 0.5; // the halo's cover at its darkest

// 1 within `edge` of the centre, 0 beyond, blurred over 1 / `sharpness`;
// a point is 2 across.
float inside(float distance, float edge, float sharpness)
{
    return clamp((edge - distance) * sharpness + 0.5, 0.0, 1.0);
}

void main()
{
    vec2 p = gl_PointCoord * 2.0 - 1.0;
    float r = length(p);
    float cover = 0.0;
    float halo = inside(r, 0.94, 8.0) * HALO;
    if (shape == 0) {
        // A soft dot: calm, and nothing like the cursor's box.
        cover = inside(r, 0.6, 3.0) * 0.95;
    } else if (shape == 1) {
        // A ringed cross.
        float diagonal = min(abs(p.x - p.y), abs(p.x + p.y)) * 0.7071;
        cover = max(inside(abs(r - 0.74), 0.1, 10.0), inside(diagonal, 0.1, 10.0) * inside(r, 0.56, 8.0));
    } else if (shape == 2) {
        // The way's beads glow without a halo, so that they run together
        // into a chain.
        cover = inside(r, 0.62, 2.5);
        halo = 0.0;
    } else {
        // A ring at each end of the way.
        cover = inside(abs(r - 0.78), 0.1, 10.0);
    }
    out_color = vec4(colour.rgb * cover, max(cover, halo) * colour.a);
}
)";

constexpr GLuint POSITION_LOCATION = 0;
constexpr GLuint KIND_LOCATION = 1;
constexpr GLuint ALONG_LOCATION = 2;
constexpr float BEAD_SPACING = 0.42f;    // cells between the beads of the way
constexpr float BEAMED_SPACING = 0.55f;  // and between those through the beamers
constexpr double WAVES_PER_SECOND = 0.8; // crests of light passing a bead
constexpr float MIN_DEPTH_RANGE = 0.01f; // cells, so that one mark alone is not divided by 0

glm::vec3 centre_of(const Cell& cell)
{
    return glm::vec3(cell[0], cell[1], cell[2]) + glm::vec3(0.5f);
}

MarkVertex mark(const glm::vec3& position, MarkKind kind, float along = 0.0f)
{
    return {position, static_cast<float>(kind), along};
}

// Beads from just after `from` up to `to`, `along` going on from the last.
void add_beads(const glm::vec3& from, const glm::vec3& to, MarkKind kind, float spacing, float& along,
               std::vector<MarkVertex>& beads)
{
    const float length = glm::distance(from, to);
    const int count = std::max(1, static_cast<int>(std::lround(length / spacing)));
    for (int k = 1; k <= count; ++k) {
        const float part = static_cast<float>(k) / static_cast<float>(count);
        beads.push_back(mark(glm::mix(from, to, part), kind, along + length * part));
    }
    along += length;
}

} // namespace

SolverView::SolverView()
{
    program_ = build_overlay_program(
        VERTEX_SOURCE, FRAGMENT_SOURCE,
        {{POSITION_LOCATION, "in_position"}, {KIND_LOCATION, "in_kind"}, {ALONG_LOCATION, "in_along"}});
    if (program_ == 0)
        return;
    transform_ = glGetUniformLocation(program_, "transform");
    view_ = glGetUniformLocation(program_, "view");

    glGenVertexArrays(1, &vertex_array_);
    glBindVertexArray(vertex_array_);
    glGenBuffers(1, &buffer_);
    glBindBuffer(GL_ARRAY_BUFFER, buffer_);
    const auto attribute = [](GLuint location, GLint size, size_t offset) {
        glEnableVertexAttribArray(location);
        glVertexAttribPointer(location, size, GL_FLOAT, GL_FALSE, sizeof(MarkVertex),
                              reinterpret_cast<const void*>(offset));
    };
    attribute(POSITION_LOCATION, 3, offsetof(MarkVertex, position));
    attribute(KIND_LOCATION, 1, offsetof(MarkVertex, kind));
    attribute(ALONG_LOCATION, 1, offsetof(MarkVertex, along));
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

SolverView::~SolverView()
{
    glDeleteBuffers(1, &buffer_);
    glDeleteVertexArrays(1, &vertex_array_);
    glDeleteProgram(program_);
}

void SolverView::fill_buffer(const SolverMarks& marks)
{
    // In the order they are drawn over each other: the resting places, the
    // dead ends, the way's beads, then its two ends.
    std::vector<MarkVertex> points;
    for (const Cell& cell : marks.resting)
        if (!std::binary_search(marks.dead_ends.begin(), marks.dead_ends.end(), cell))
            points.push_back(mark(centre_of(cell), MARK_RESTING));
    for (const Cell& cell : marks.dead_ends)
        points.push_back(mark(centre_of(cell), MARK_DEAD_END));

    glm::vec3 at = centre_of(marks.start);
    float along = 0.0f;
    for (const WayLaunch& launch : marks.way) {
        for (size_t k = 0; k + 1 < launch.beamers.size(); k += 2) {
            add_beads(at, centre_of(launch.beamers[k]), MARK_BEAD, BEAD_SPACING, along, points);
            at = centre_of(launch.beamers[k]);
            add_beads(at, centre_of(launch.beamers[k + 1]), MARK_BEAMED, BEAMED_SPACING, along, points);
            at = centre_of(launch.beamers[k + 1]);
        }
        add_beads(at, centre_of(launch.to), MARK_BEAD, BEAD_SPACING, along, points);
        at = centre_of(launch.to);
    }
    if (!marks.way.empty()) {
        points.push_back(mark(centre_of(marks.start), MARK_WAY_END));
        points.push_back(mark(at, MARK_WAY_END, along));
    }

    point_count_ = static_cast<GLsizei>(points.size());
    glm::vec3 lowest = points.empty() ? glm::vec3(0.0f) : points.front().position, highest = lowest;
    for (const MarkVertex& point : points) {
        lowest = glm::min(lowest, point.position);
        highest = glm::max(highest, point.position);
    }
    centre_ = (lowest + highest) * 0.5f;
    radius_ = glm::distance(lowest, highest) * 0.5f;
    glBindBuffer(GL_ARRAY_BUFFER, buffer_);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(points.size() * sizeof(MarkVertex)), points.data(),
                 GL_STATIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void SolverView::draw(const glm::mat4& projection, const glm::mat4& camera, const glm::mat4& world,
                      const std::shared_ptr<const SolverMarks>& marks, double seconds)
{
    if (program_ == 0 || !marks)
        return;
    if (marks != filled_from_) {
        fill_buffer(*marks);
        filled_from_ = marks;
    }
    if (point_count_ == 0)
        return;

    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    const glm::mat4 transform = projection * camera * world;
    const float centre_depth = (transform * glm::vec4(centre_, 1.0f)).w;
    const double waves = seconds * WAVES_PER_SECOND;
    glUseProgram(program_);
    glUniformMatrix4fv(transform_, 1, GL_FALSE, glm::value_ptr(transform));
    glUniform4f(view_, static_cast<float>(viewport[3]) * projection[1][1], static_cast<float>(waves - std::floor(waves)),
                centre_depth - radius_, centre_depth + radius_ + MIN_DEPTH_RANGE);

    // Over everything, as the cursor is, so that no mark is lost behind a
    // cube; the far marks are told apart by their fainter colours. Drawing
    // what the cubes hide in a pass of its own would double the cost on the
    // software renderer, and so would blending in linear light, so the
    // colours are the screen's own.
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_FRAMEBUFFER_SRGB);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_PROGRAM_POINT_SIZE);
    glBindVertexArray(vertex_array_);
    glDrawArrays(GL_POINTS, 0, point_count_);
    glBindVertexArray(0);
    glDisable(GL_PROGRAM_POINT_SIZE);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_BLEND);
    glEnable(GL_FRAMEBUFFER_SRGB);
    glEnable(GL_DEPTH_TEST);
    glUseProgram(0);
}
