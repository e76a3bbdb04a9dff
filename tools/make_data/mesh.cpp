#include "mesh.h"

#include <glm/gtc/constants.hpp>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Twice the area below which a triangle counts as collapsed, in square units.
constexpr float MINIMUM_DOUBLE_AREA = 1e-9f;

glm::vec2 angle_point(int step, int steps)
{
    return cos_sin(glm::two_pi<float>() * static_cast<float>(step) / static_cast<float>(steps));
}

} // namespace

glm::vec2 cos_sin(float angle)
{
    const double wide = angle;
    return {static_cast<float>(std::cos(wide)), static_cast<float>(std::sin(wide))};
}

glm::mat4 rotation(float angle, glm::vec3 axis)
{
    const glm::vec2 turn = cos_sin(angle);
    const float c = turn.x;
    const float s = turn.y;
    const glm::vec3 a = glm::normalize(axis);
    const glm::vec3 t = (1.0f - c) * a;
    glm::mat4 result(1.0f);
    result[0] = {c + t.x * a.x, t.x * a.y + s * a.z, t.x * a.z - s * a.y, 0.0f};
    result[1] = {t.y * a.x - s * a.z, c + t.y * a.y, t.y * a.z + s * a.x, 0.0f};
    result[2] = {t.z * a.x + s * a.y, t.z * a.y - s * a.x, c + t.z * a.z, 0.0f};
    return result;
}

void Mesh::triangle(glm::vec3 p0, glm::vec3 p1, glm::vec3 p2, glm::vec2 uv0, glm::vec2 uv1,
                    glm::vec2 uv2)
{
    const glm::vec3 cross = glm::cross(p1 - p0, p2 - p0);
    const float double_area = glm::length(cross);
    if (double_area < MINIMUM_DOUBLE_AREA)
        return;
    const glm::vec3 normal = cross / double_area;
    vertices.push_back({p0, normal, uv0});
    vertices.push_back({p1, normal, uv1});
    vertices.push_back({p2, normal, uv2});
}

void Mesh::quad(glm::vec3 p0, glm::vec3 p1, glm::vec3 p2, glm::vec3 p3, glm::vec2 uv0,
                glm::vec2 uv1, glm::vec2 uv2, glm::vec2 uv3)
{
    triangle(p0, p1, p2, uv0, uv1, uv2);
    triangle(p0, p2, p3, uv0, uv2, uv3);
}

void Mesh::append(const Mesh& other, const glm::mat4& transform)
{
    const glm::mat3 normal_transform = glm::transpose(glm::inverse(glm::mat3(transform)));
    const bool mirrored = glm::determinant(glm::mat3(transform)) < 0.0f;
    for (size_t first = 0; first < other.vertices.size(); first += 3) {
        Vertex corners[3];
        for (int i = 0; i < 3; ++i) {
            const Vertex& source = other.vertices[first + i];
            corners[i].position = glm::vec3(transform * glm::vec4(source.position, 1.0f));
            corners[i].normal = glm::normalize(normal_transform * source.normal);
            corners[i].uv = source.uv;
        }
        if (mirrored)
            std::swap(corners[1], corners[2]);
        vertices.insert(vertices.end(), corners, corners + 3);
    }
}

void Mesh::flip()
{
    for (size_t first = 0; first < vertices.size(); first += 3) {
        std::swap(vertices[first + 1], vertices[first + 2]);
        for (int i = 0; i < 3; ++i)
            vertices[first + i].normal = -vertices[first + i].normal;
    }
}

void Mesh::orient_away_from(glm::vec3 centre)
{
    for (size_t first = 0; first < vertices.size(); first += 3) {
        const glm::vec3 middle = (vertices[first].position + vertices[first + 1].position +
                                  vertices[first + 2].position) /
                                 3.0f;
        if (glm::dot(vertices[first].normal, middle - centre) >= 0.0f)
            continue;
        std::swap(vertices[first + 1], vertices[first + 2]);
        for (int i = 0; i < 3; ++i)
            vertices[first + i].normal = -vertices[first + i].normal;
    }
}

void Mesh::face_outward()
{
    if (signed_volume() < 0.0f)
        flip();
}

void Mesh::project_uv(Rect region)
{
    const glm::vec3 low = lower_bound();
    const glm::vec3 extent = glm::max(upper_bound() - low, glm::vec3(1e-6f));
    for (size_t first = 0; first < vertices.size(); first += 3) {
        const glm::vec3 n = glm::abs(vertices[first].normal);
        // The two axes across the face: the projection along the third.
        int a = 1;
        int b = 2;
        if (n.y >= n.x && n.y >= n.z) {
            a = 0;
            b = 2;
        } else if (n.z >= n.x && n.z >= n.y) {
            a = 0;
            b = 1;
        }
        for (int i = 0; i < 3; ++i) {
            const glm::vec3 relative = (vertices[first + i].position - low) / extent;
            vertices[first + i].uv = glm::vec2(relative[a], relative[b]);
        }
    }
    fit_uv(region);
}

void Mesh::fit_uv(Rect region)
{
    for (Vertex& vertex : vertices)
        vertex.uv = region.min + vertex.uv * (region.max - region.min);
}

glm::vec3 Mesh::lower_bound() const
{
    glm::vec3 low(std::numeric_limits<float>::max());
    for (const Vertex& vertex : vertices)
        low = glm::min(low, vertex.position);
    return low;
}

glm::vec3 Mesh::upper_bound() const
{
    glm::vec3 high(std::numeric_limits<float>::lowest());
    for (const Vertex& vertex : vertices)
        high = glm::max(high, vertex.position);
    return high;
}

float Mesh::signed_volume() const
{
    float volume = 0.0f;
    for (size_t first = 0; first < vertices.size(); first += 3)
        volume += glm::dot(vertices[first].position,
                           glm::cross(vertices[first + 1].position, vertices[first + 2].position));
    return volume;
}

Mesh loft(const std::vector<std::vector<glm::vec3>>& rings)
{
    // Rings running counter-clockwise about the direction from the first
    // ring to the last give outward faces with this winding; for rings the
    // other way round, face_outward turns the whole surface over.
    Mesh mesh;
    const size_t around = rings.front().size();
    for (size_t k = 0; k + 1 < rings.size(); ++k)
        for (size_t j = 0; j < around; ++j) {
            const size_t next = (j + 1) % around;
            mesh.quad(rings[k][j], rings[k][next], rings[k + 1][next], rings[k + 1][j]);
        }
    auto centre_of = [around](const std::vector<glm::vec3>& ring) {
        glm::vec3 centre(0.0f);
        for (const glm::vec3& point : ring)
            centre += point;
        return centre / static_cast<float>(around);
    };
    const glm::vec3 first_centre = centre_of(rings.front());
    const glm::vec3 last_centre = centre_of(rings.back());
    for (size_t j = 0; j < around; ++j) {
        const size_t next = (j + 1) % around;
        mesh.triangle(first_centre, rings.front()[next], rings.front()[j]);
        mesh.triangle(last_centre, rings.back()[j], rings.back()[next]);
    }
    mesh.face_outward();
    return mesh;
}

Mesh prism(const std::vector<glm::vec2>& outline, float z0, float z1)
{
    std::vector<glm::vec3> back;
    std::vector<glm::vec3> front;
    for (const glm::vec2& point : outline) {
        back.emplace_back(point, z0);
        front.emplace_back(point, z1);
    }
    return loft({back, front});
}

Mesh lathe(const std::vector<glm::vec2>& profile, const std::vector<float>& profile_v, int segments)
{
    Mesh mesh;
    for (size_t k = 0; k + 1 < profile.size(); ++k)
        for (int i = 0; i < segments; ++i) {
            const glm::vec2 a = angle_point(i, segments);
            const glm::vec2 b = angle_point(i + 1, segments);
            const float u0 = static_cast<float>(i) / segments;
            const float u1 = static_cast<float>(i + 1) / segments;
            const glm::vec2& low = profile[k];
            const glm::vec2& high = profile[k + 1];
            mesh.quad({low.x * a.x, low.y, low.x * a.y}, {high.x * a.x, high.y, high.x * a.y},
                      {high.x * b.x, high.y, high.x * b.y}, {low.x * b.x, low.y, low.x * b.y},
                      {u0, profile_v[k]}, {u0, profile_v[k + 1]}, {u1, profile_v[k + 1]},
                      {u1, profile_v[k]});
        }
    mesh.face_outward();
    return mesh;
}

Mesh torus(float ring_radius, float tube_radius, int ring_segments, int tube_segments)
{
    Mesh mesh;
    auto point = [&](int i, int j) {
        const glm::vec2 around = angle_point(i, ring_segments);
        const glm::vec2 tube = angle_point(j, tube_segments);
        const float radius = ring_radius + tube_radius * tube.x;
        return glm::vec3(radius * around.x, tube_radius * tube.y, radius * around.y);
    };
    for (int i = 0; i < ring_segments; ++i)
        for (int j = 0; j < tube_segments; ++j) {
            const float u0 = static_cast<float>(i) / ring_segments;
            const float u1 = static_cast<float>(i + 1) / ring_segments;
            const float v0 = static_cast<float>(j) / tube_segments;
            const float v1 = static_cast<float>(j + 1) / tube_segments;
            mesh.quad(point(i, j), point(i, j + 1), point(i + 1, j + 1), point(i + 1, j), {u0, v0},
                      {u0, v1}, {u1, v1}, {u1, v0});
        }
    mesh.face_outward();
    return mesh;
}
