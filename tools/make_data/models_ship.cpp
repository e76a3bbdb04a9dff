#include "atlas.h"
#include "models.h"

#include <glm/gtc/matrix_transform.hpp>

#include <vector>

namespace {

// Texels kept clear around each part's region of the ship's texture.
constexpr float REGION_MARGIN_TEXELS = 6.0f;

Rect ship_region(Rect region)
{
    return inset(region, REGION_MARGIN_TEXELS, SHIP_TEXTURE_SIZE);
}

// One cross-section of the fuselage: a flattened hexagon about the line
// y = centre_y, z = 0.5, at position x along the ship.
std::vector<glm::vec3> hull_ring(float x, float half_width, float half_height, float centre_y)
{
    const float w = half_width;
    const float h = half_height;
    return {{x, centre_y + h, 0.5f},
            {x, centre_y + 0.4f * h, 0.5f + w},
            {x, centre_y - 0.6f * h, 0.5f + 0.75f * w},
            {x, centre_y - h, 0.5f},
            {x, centre_y - 0.6f * h, 0.5f - 0.75f * w},
            {x, centre_y + 0.4f * h, 0.5f - w}};
}

std::vector<glm::vec3> tip(glm::vec3 point, size_t count)
{
    return std::vector<glm::vec3>(count, point);
}

// The canopy's cross-section: a diamond whose lower half sinks into the hull.
std::vector<glm::vec3> canopy_ring(float x, float half_width, float height, float base_y)
{
    return {{x, base_y + height, 0.5f},
            {x, base_y, 0.5f + half_width},
            {x, base_y - 0.03f, 0.5f},
            {x, base_y, 0.5f - half_width}};
}

// Turns a shape built in the x-y plane, extruded along z, so that its
// outline lies in the x-z plane and the extrusion runs along y.
const glm::mat4 XY_TO_XZ(glm::vec4(1, 0, 0, 0), glm::vec4(0, 0, 1, 0), glm::vec4(0, 1, 0, 0),
                         glm::vec4(0, 0, 0, 1));
// Turns a shape extruded along z so that it runs along x.
const glm::mat4 Z_TO_X(glm::vec4(0, 0, -1, 0), glm::vec4(0, 1, 0, 0), glm::vec4(1, 0, 0, 0),
                       glm::vec4(0, 0, 0, 1));
// Mirrors the right half of the ship onto the left, across z = 0.5.
const glm::mat4 MIRROR_Z =
    glm::scale(glm::translate(glm::mat4(1.0f), {0.0f, 0.0f, 1.0f}), {1.0f, 1.0f, -1.0f});

std::vector<glm::vec2> hexagon(float radius)
{
    std::vector<glm::vec2> points;
    for (int i = 0; i < 6; ++i) {
        const glm::vec2 around = cos_sin(glm::radians(60.0f * static_cast<float>(i) + 30.0f));
        points.emplace_back(radius * around.x, radius * around.y);
    }
    return points;
}

// An engine nacelle along x, centred on (y, z), with its glowing exhaust
// facing -x.
void add_engine(Mesh& ship, float y, float z)
{
    constexpr float REAR = 0.10f;
    constexpr float FRONT = 0.30f;
    constexpr float RADIUS = 0.038f;
    Mesh body = prism(hexagon(RADIUS), REAR, FRONT);
    body.project_uv(ship_region(SHIP_ENGINE));
    ship.append(body, glm::translate(glm::mat4(1.0f), {0.0f, y, z}) * Z_TO_X);

    Mesh exhaust = prism(hexagon(0.8f * RADIUS), REAR - 0.006f, REAR + 0.004f);
    exhaust.project_uv(ship_region(SHIP_EXHAUST));
    ship.append(exhaust, glm::translate(glm::mat4(1.0f), {0.0f, y, z}) * Z_TO_X);
}

} // namespace

// A small delta-winged ship, nose along +x, centred in its cell: fuselage
// with canopy, swept wings with navigation lights, a tail fin and two
// engines. One mesh and one texture, as the game draws a model in one call.
Model make_ship()
{
    Mesh ship;

    const size_t sides = 6;
    Mesh fuselage =
        loft({hull_ring(0.14f, 0.075f, 0.05f, 0.50f), hull_ring(0.22f, 0.10f, 0.065f, 0.50f),
              hull_ring(0.45f, 0.11f, 0.075f, 0.505f), hull_ring(0.66f, 0.085f, 0.06f, 0.50f),
              hull_ring(0.82f, 0.045f, 0.035f, 0.495f), tip({0.94f, 0.49f, 0.5f}, sides)});
    fuselage.project_uv(ship_region(SHIP_HULL));
    ship.append(fuselage);

    Mesh canopy = loft({tip({0.40f, 0.575f, 0.5f}, 4), canopy_ring(0.50f, 0.05f, 0.045f, 0.562f),
                        canopy_ring(0.63f, 0.045f, 0.045f, 0.545f), tip({0.75f, 0.54f, 0.5f}, 4)});
    canopy.project_uv(ship_region(SHIP_CANOPY));
    ship.append(canopy);

    // The right wing in the x-z plane (outline x, z), thin along y.
    Mesh wing =
        prism({{0.20f, 0.56f}, {0.58f, 0.56f}, {0.30f, 0.90f}, {0.20f, 0.90f}}, 0.472f, 0.492f);
    wing.project_uv(ship_region(SHIP_WING));
    ship.append(wing, XY_TO_XZ);
    ship.append(wing, MIRROR_Z * XY_TO_XZ);

    // Pods at the wing tips: red on the left, green on the right, as on
    // any craft.
    Mesh pod =
        prism({{0.19f, 0.462f}, {0.33f, 0.462f}, {0.33f, 0.502f}, {0.19f, 0.502f}}, 0.895f, 0.935f);
    Mesh starboard = pod;
    starboard.project_uv(ship_region(SHIP_STARBOARD_LIGHT));
    ship.append(starboard);
    Mesh port = pod;
    port.project_uv(ship_region(SHIP_PORT_LIGHT));
    ship.append(port, MIRROR_Z);

    Mesh fin =
        prism({{0.15f, 0.53f}, {0.30f, 0.53f}, {0.19f, 0.74f}, {0.12f, 0.74f}}, 0.492f, 0.508f);
    fin.project_uv(ship_region(SHIP_WING));
    ship.append(fin);

    add_engine(ship, 0.475f, 0.585f);
    add_engine(ship, 0.475f, 0.415f);

    return {"ship", ship, {"ship.png", glm::vec3(0.8f), 48.0f}};
}

// The heading marker: an arrow, a cone with a short shaft, pointing along
// +z. The game turns it about its origin and puts the origin at the centre
// of the ship's cell, so the arrow floats above the ship, clear of its fin
// and wings, and stays inside the ship's own cell whatever the heading: a
// cube next to the ship never hides it.
Model make_cone()
{
    constexpr float LIFT = 0.32f; // above the cell centre, in cell units
    const std::vector<glm::vec2> profile = {
        {0.0f, -0.18f}, {0.035f, -0.18f}, {0.035f, -0.02f}, {0.085f, -0.02f}, {0.0f, 0.22f}};
    const std::vector<float> profile_v = {0.0f, 0.1f, 0.35f, 0.45f, 1.0f};
    Mesh cone = lathe(profile, profile_v, 12);
    Mesh mesh;
    // The lathe turns about y; lay it along z, then lift it.
    mesh.append(cone, glm::translate(glm::mat4(1.0f), {0.0f, LIFT, 0.0f}) *
                          rotation(glm::radians(90.0f), {1.0f, 0.0f, 0.0f}));
    return {"cone", mesh, {"cone.png", glm::vec3(0.6f), 24.0f}};
}
