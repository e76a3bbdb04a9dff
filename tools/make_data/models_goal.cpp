#include "atlas.h"
#include "models.h"

#include <glm/gtc/matrix_transform.hpp>

#include <vector>

namespace {

constexpr float REGION_MARGIN_TEXELS = 4.0f;

// Solids of revolution are built about the y axis; the goal turns about the
// vertical line through its cell's centre.
const glm::mat4 TO_CELL_CENTRE_LINE = glm::translate(glm::mat4(1.0f), {0.5f, 0.0f, 0.5f});

} // namespace

// The goal's fixed base: a round landing pad with a glowing ring and a
// glowing emitter at its heart, low in the cell so the turning crystal
// above it has room.
Model make_goal_base()
{
    // (radius, height) from the centre of the underside out, up and back in
    // to the centre of the top; the texture's bands follow the same v.
    const std::vector<glm::vec2> profile = {{0.00f, 0.00f},  {0.44f, 0.00f},  {0.47f, 0.04f},
                                            {0.47f, 0.09f},  {0.43f, 0.12f},  {0.36f, 0.12f},
                                            {0.36f, 0.145f}, {0.30f, 0.145f}, {0.26f, 0.17f},
                                            {0.12f, 0.17f},  {0.08f, 0.20f},  {0.00f, 0.21f}};
    const std::vector<float> profile_v = {0.00f, 0.08f, 0.16f, 0.30f, 0.40f, 0.48f,
                                          0.56f, 0.64f, 0.72f, 0.84f, 0.92f, 1.00f};
    Mesh mesh;
    mesh.append(lathe(profile, profile_v, GOAL_SIDES), TO_CELL_CENTRE_LINE);
    return {"goal_new", mesh, {"goal.png", glm::vec3(0.6f), 32.0f}};
}

// The goal's turning part: a glowing crystal with a tilted ring around it.
// The game spins it about the cell's vertical centre line; the tilt makes
// the ring wobble as it turns.
Model make_goal_rotate()
{
    constexpr float CENTRE_Y = 0.56f;
    Mesh mesh;

    std::vector<glm::vec3> equator;
    for (int i = 0; i < 6; ++i) {
        const glm::vec2 around = cos_sin(glm::radians(60.0f * static_cast<float>(i)));
        equator.emplace_back(0.11f * around.x, CENTRE_Y, 0.11f * around.y);
    }
    Mesh crystal = loft({std::vector<glm::vec3>(6, {0.0f, 0.30f, 0.0f}), equator,
                         std::vector<glm::vec3>(6, {0.0f, 0.84f, 0.0f})});
    crystal.project_uv(inset(GOAL_CRYSTAL, REGION_MARGIN_TEXELS, GOAL_CRYSTAL_TEXTURE_SIZE));
    mesh.append(crystal, TO_CELL_CENTRE_LINE);

    Mesh ring = torus(0.30f, 0.022f, 24, 6);
    ring.fit_uv(inset(GOAL_RING, REGION_MARGIN_TEXELS, GOAL_CRYSTAL_TEXTURE_SIZE));
    mesh.append(ring, TO_CELL_CENTRE_LINE *
                          glm::translate(glm::mat4(1.0f), {0.0f, CENTRE_Y, 0.0f}) *
                          rotation(glm::radians(22.0f), {1.0f, 0.0f, 0.0f}));
    return {"goal_rotate", mesh, {"goal_crystal.png", glm::vec3(0.9f), 64.0f}};
}

// A beamer's gate: a ring standing across the x axis in the middle of its
// cell. The game shows beamers by their particle cloud; the model is there
// for the model table's sake and for tools that show every piece.
Model make_beamer()
{
    Mesh ring = torus(0.34f, 0.05f, 20, 6);
    Mesh mesh;
    mesh.append(ring, glm::translate(glm::mat4(1.0f), glm::vec3(0.5f)) *
                          rotation(glm::radians(90.0f), {0.0f, 0.0f, 1.0f}));
    return {"beamer", mesh, {"beamer.png", glm::vec3(0.7f), 40.0f}};
}
