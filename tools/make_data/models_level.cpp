#include "atlas.h"
#include "models.h"
#include "sky.h"

#include <string>

namespace {

// The sky is drawn around the camera with the camera's translation removed:
// a cube of this half size keeps its farthest corner (half size times the
// square root of 3, about 87) inside the far plane at 100.
constexpr float SKY_HALF_SIZE = 50.0f;

const glm::vec3 CELL_CENTRE(0.5f);

// The two axes across a face of the given axis, in the order that gives the
// face's texture coordinates.
void across(int axis, int& first, int& second)
{
    first = axis == 0 ? 2 : 0;
    second = axis == 1 ? 2 : 1;
}

glm::vec2 face_uv(int axis, glm::vec3 position)
{
    int first = 0;
    int second = 0;
    across(axis, first, second);
    return {position[first], position[second]};
}

} // namespace

Model make_skybox()
{
    Mesh mesh;
    for (const SkyFace& face : SKY_FACES) {
        auto corner = [&face](float s, float t) {
            return SKY_HALF_SIZE * (face.axis + s * face.right + t * face.up);
        };
        mesh.quad(corner(-1, -1), corner(1, -1), corner(1, 1), corner(-1, 1), sky_uv(face, -1, -1),
                  sky_uv(face, 1, -1), sky_uv(face, 1, 1), sky_uv(face, -1, 1));
    }
    // Seen from inside: every face turned towards the centre.
    mesh.orient_away_from(glm::vec3(0.0f));
    mesh.flip();
    return {"skybox", mesh, {"skybox.png", glm::vec3(0.0f), 1.0f}};
}

// A unit cube with chamfered edges and corners, filling its cell from 0 to
// 1. The chamfers catch the light, so neighbouring cubes read as separate
// blocks. Each face shows the whole texture; the chamfers take its border.
Model make_cube()
{
    const float b = CUBE_BEVEL;
    auto inset = [b](int side) { return side == 1 ? 1.0f - b : b; };
    Mesh mesh;

    for (int axis = 0; axis < 3; ++axis)
        for (int side = 0; side < 2; ++side) {
            int j = 0;
            int k = 0;
            across(axis, j, k);
            glm::vec3 corners[4];
            const int pattern[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
            for (int c = 0; c < 4; ++c) {
                corners[c][axis] = static_cast<float>(side);
                corners[c][j] = inset(pattern[c][0]);
                corners[c][k] = inset(pattern[c][1]);
            }
            mesh.quad(corners[0], corners[1], corners[2], corners[3], face_uv(axis, corners[0]),
                      face_uv(axis, corners[1]), face_uv(axis, corners[2]),
                      face_uv(axis, corners[3]));
        }

    for (int i = 0; i < 3; ++i)
        for (int j = i + 1; j < 3; ++j) {
            const int k = 3 - i - j;
            for (int si = 0; si < 2; ++si)
                for (int sj = 0; sj < 2; ++sj) {
                    glm::vec3 points[4];
                    for (int c = 0; c < 4; ++c) {
                        const bool on_i = c < 2;
                        points[c][i] = on_i ? static_cast<float>(si) : inset(si);
                        points[c][j] = on_i ? inset(sj) : static_cast<float>(sj);
                        points[c][k] = (c == 0 || c == 3) ? b : 1.0f - b;
                    }
                    mesh.quad(points[0], points[1], points[2], points[3], face_uv(i, points[0]),
                              face_uv(i, points[1]), face_uv(i, points[2]), face_uv(i, points[3]));
                }
        }

    for (int corner = 0; corner < 8; ++corner) {
        const int sides[3] = {corner & 1, (corner >> 1) & 1, (corner >> 2) & 1};
        glm::vec3 points[3];
        for (int owner = 0; owner < 3; ++owner)
            for (int axis = 0; axis < 3; ++axis)
                points[owner][axis] =
                    axis == owner ? static_cast<float>(sides[axis]) : inset(sides[axis]);
        mesh.triangle(points[0], points[1], points[2], face_uv(0, points[0]), face_uv(0, points[1]),
                      face_uv(0, points[2]));
    }

    mesh.orient_away_from(CELL_CENTRE);
    return {"cube", mesh, {"cube.png", glm::vec3(0.55f), 40.0f}};
}

// The beamer effect's sprite: a unit square about the origin, facing +z.
// The effect draws its own quads and only takes this model's texture.
Model make_particle()
{
    Mesh mesh;
    mesh.quad({-0.5f, -0.5f, 0.0f}, {0.5f, -0.5f, 0.0f}, {0.5f, 0.5f, 0.0f}, {-0.5f, 0.5f, 0.0f},
              {0, 0}, {1, 0}, {1, 1}, {0, 1});
    return {"particel", mesh, {"glow.png", glm::vec3(0.0f), 1.0f}};
}

// One face of the unit cube, facing in: 1 and 2 are x = 0 and x = 1, 3 and
// 4 the same for y, 5 and 6 for z. Scaled to the level, they wall it in.
Model make_bound(int number)
{
    const int axis = (number - 1) / 2;
    const int side = (number - 1) % 2;
    int j = 0;
    int k = 0;
    across(axis, j, k);
    glm::vec3 corners[4];
    const int pattern[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (int c = 0; c < 4; ++c) {
        corners[c][axis] = static_cast<float>(side);
        corners[c][j] = static_cast<float>(pattern[c][0]);
        corners[c][k] = static_cast<float>(pattern[c][1]);
    }
    Mesh mesh;
    mesh.quad(corners[0], corners[1], corners[2], corners[3], face_uv(axis, corners[0]),
              face_uv(axis, corners[1]), face_uv(axis, corners[2]), face_uv(axis, corners[3]));
    mesh.orient_away_from(CELL_CENTRE);
    mesh.flip();
    const std::string name = "bounds0" + std::to_string(number);
    return {name, mesh, {"bounds.png", glm::vec3(0.0f), 1.0f}};
}

std::vector<Model> make_models()
{
    std::vector<Model> models;
    models.push_back(make_skybox());
    models.push_back(make_cube());
    models.push_back(make_ship());
    models.push_back(make_goal_base());
    models.push_back(make_cone());
    models.push_back(make_beamer());
    models.push_back(make_particle());
    models.push_back(make_goal_rotate());
    for (int number = 1; number <= 6; ++number)
        models.push_back(make_bound(number));
    return models;
}
