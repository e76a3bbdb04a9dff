// Triangle meshes for the generated models. Every triangle has its own three
// corners and its face normal: the models are flat-shaded low-poly shapes.
#pragma once

#include <glm/glm.hpp>

#include <vector>

struct Vertex {
    glm::vec3 position;
    glm::vec3 normal;
    glm::vec2 uv;
};

// The cosine and sine of an angle in radians. They are taken in double and
// rounded once to float, so that they come out the same whether the compiler
// folds a call whose angle it can see or the program makes it: glibc's cosf
// and sinf are now and then a unit in the last place off the true value (the
// sine of 22 degrees is one), while GCC folds to the true value, and which of
// the two a model got would follow the -O level and the inlining.
glm::vec2 cos_sin(float angle);

// glm::rotate(glm::mat4(1.0f), angle, axis), with cos_sin's cosine and sine.
glm::mat4 rotation(float angle, glm::vec3 axis);

// A rectangle of a texture atlas, in texture coordinates.
struct Rect {
    glm::vec2 min;
    glm::vec2 max;
};

class Mesh {
public:
    // Corners counter-clockwise seen from the front. Triangles of no area,
    // which collapsed rings at a shape's tip make, are left out.
    void triangle(glm::vec3 p0, glm::vec3 p1, glm::vec3 p2, glm::vec2 uv0 = {}, glm::vec2 uv1 = {},
                  glm::vec2 uv2 = {});
    // Two triangles, p0 p1 p2 and p0 p2 p3.
    void quad(glm::vec3 p0, glm::vec3 p1, glm::vec3 p2, glm::vec3 p3, glm::vec2 uv0 = {},
              glm::vec2 uv1 = {}, glm::vec2 uv2 = {}, glm::vec2 uv3 = {});
    // Adds another mesh moved by a transform; a mirroring transform keeps
    // the front faces outside.
    void append(const Mesh& other, const glm::mat4& transform = glm::mat4(1.0f));

    // Turns every triangle over when the closed surface faces inward, so that
    // a shape can be built in whichever order is easiest to write.
    void face_outward();
    // Turns every triangle over.
    void flip();
    // Turns over each triangle whose front faces `centre`: for shapes that
    // are convex about it.
    void orient_away_from(glm::vec3 centre);

    // Sets texture coordinates by projecting each triangle along the axis its
    // normal is closest to, with the mesh's bounds filling `region`.
    void project_uv(Rect region);
    // Moves texture coordinates from the unit square into `region`.
    void fit_uv(Rect region);

    glm::vec3 lower_bound() const;
    glm::vec3 upper_bound() const;
    // Six times the enclosed volume; negative when the surface faces inward.
    float signed_volume() const;

    std::vector<Vertex> vertices; // three per triangle
};

// A closed surface through rings of points: each ring runs the same number
// of points around; the first and last rings are closed by fans (a ring of
// one repeated point is a tip).
Mesh loft(const std::vector<std::vector<glm::vec3>>& rings);

// A convex outline in the x-y plane, extruded along z from z0 to z1.
Mesh prism(const std::vector<glm::vec2>& outline, float z0, float z1);

// A surface of revolution about the y axis. The profile runs (radius,
// height) from the bottom to the top; profile_v gives the texture v of each
// profile point, and u runs once around.
Mesh lathe(const std::vector<glm::vec2>& profile, const std::vector<float>& profile_v,
           int segments);

// A ring about the y axis: the tube of radius tube_radius swept around a
// circle of radius ring_radius. u runs around the ring, v around the tube.
Mesh torus(float ring_radius, float tube_radius, int ring_segments, int tube_segments);
