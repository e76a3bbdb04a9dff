// The data set the game ships: every model loads without a failure line,
// and each has the shape and texture the rest of the game relies on.
#include "game/game.h"
#include "gl_test.h"
#include "render/model_loader.h"
#include "render/model_table.h"
#include "render/phong_program.h"

#include <GL/glew.h>
#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#include <glm/glm.hpp>

#include <chrono>
#include <cmath>
#include <iostream>
#include <regex>
#include <sstream>

namespace {

// The sky must lie inside the far plane of the projection.
constexpr float FAR_PLANE = 100.0f;
// Rounding of the six decimals the model files hold.
constexpr float EPSILON = 1e-5f;

std::vector<glm::vec3> corners_of(const aiMesh& mesh, unsigned face)
{
    std::vector<glm::vec3> corners;
    for (unsigned k = 0; k < mesh.mFaces[face].mNumIndices; ++k) {
        const aiVector3D& p = mesh.mVertices[mesh.mFaces[face].mIndices[k]];
        corners.emplace_back(p.x, p.y, p.z);
    }
    return corners;
}

// The face's normal from its winding: the side OpenGL treats as the front.
glm::vec3 front_of(const std::vector<glm::vec3>& corners)
{
    return glm::normalize(glm::cross(corners[1] - corners[0], corners[2] - corners[0]));
}

// The alpha channel of level 0 of a texture.
struct Alpha {
    explicit Alpha(GLuint texture)
    {
        glBindTexture(GL_TEXTURE_2D, texture);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
        std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 4);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        for (size_t i = 3; i < pixels.size(); i += 4)
            values.push_back(pixels[i] / 255.0f);
    }
    float at(int x, int y) const { return values.at(static_cast<size_t>(y) * width + x); }
    float mean() const
    {
        float sum = 0.0f;
        for (const float value : values)
            sum += value;
        return values.empty() ? 0.0f : sum / static_cast<float>(values.size());
    }

    GLint width = 0;
    GLint height = 0;
    std::vector<float> values;
};

class ShippedDataTest : public GlTest {
protected:
    // Imports a shipped model as the game does; one mesh of triangles.
    const aiMesh& import(int index)
    {
        const aiScene* scene = importer.ReadFile(
            std::string(TIRAK_DATA_DIR) + "/" + MODEL_TABLE[index].file, MODEL_IMPORT_FLAGS);
        EXPECT_NE(scene, nullptr) << importer.GetErrorString();
        if (scene == nullptr || scene->mNumMeshes != 1)
            throw std::runtime_error(std::string(MODEL_TABLE[index].file) +
                                     " does not import as one mesh");
        return *scene->mMeshes[0];
    }

    static void expect_within(const aiMesh& mesh, glm::vec3 low, glm::vec3 high, const char* file)
    {
        for (unsigned i = 0; i < mesh.mNumVertices; ++i) {
            const glm::vec3 p(mesh.mVertices[i].x, mesh.mVertices[i].y, mesh.mVertices[i].z);
            ASSERT_TRUE(glm::all(glm::greaterThanEqual(p, low - EPSILON)) &&
                        glm::all(glm::lessThanEqual(p, high + EPSILON)))
                << file << " vertex " << i << " at " << p.x << " " << p.y << " " << p.z;
        }
    }

    Assimp::Importer importer;
};

TEST_F(ShippedDataTest, EveryModelLoadsWithItsTexturesAndNoFailureLine)
{
    const WorkingDirectory data(TIRAK_DATA_DIR);
    Game game;
    ShaderProgram program;
    double seconds = 0.0;
    const Output output = capture_output([&] {
        const auto start = std::chrono::steady_clock::now();
        game.load_vertex_array_functions();
        ASSERT_TRUE(load_phong_program(program));
        for (const ModelFile& model : MODEL_TABLE)
            ASSERT_TRUE(load_model(game, program, model.file, model.has_mip_levels)) << model.file;
        glFinish();
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    });
    std::cout << "The Phong program and the 14 models loaded in " << 1000.0 * seconds << " ms"
              << std::endl;
    RecordProperty("load_milliseconds", static_cast<int>(1000.0 * seconds));

    EXPECT_EQ(output.err, "Geometric shader file Shaders/phong.geom does not exist.\n");
    EXPECT_EQ(output.out.find("Couldn't load"), std::string::npos) << output.out;
    ASSERT_EQ(game.mesh_records.size(), MODEL_TABLE.size());
    for (size_t i = 0; i < MODEL_TABLE.size(); ++i) {
        const MeshRecord& record = game.mesh_records[i];
        EXPECT_GT(record.index_count, 0) << MODEL_TABLE[i].file;
        EXPECT_TRUE(glIsTexture(record.texture)) << MODEL_TABLE[i].file;
        EXPECT_EQ(record.has_mip_levels, MODEL_TABLE[i].has_mip_levels) << MODEL_TABLE[i].file;
    }

    // One size line per image: level 0 of every texture, and levels 1 to 3
    // of the eleven flagged models, each half the size of the one before.
    const std::regex size_line(R"(The size of the image is: tex/(\d)(\S+) es (\d+)\*(\d+))");
    std::istringstream lines(output.out);
    std::string line;
    int images = 0;
    int last_width = 0;
    int last_height = 0;
    while (std::getline(lines, line)) {
        std::smatch match;
        if (!std::regex_match(line, match, size_line))
            continue;
        ++images;
        const int width = std::stoi(match[3]);
        const int height = std::stoi(match[4]);
        if (std::stoi(match[1]) > 0) {
            EXPECT_EQ(width, std::max(1, last_width / 2)) << line;
            EXPECT_EQ(height, std::max(1, last_height / 2)) << line;
        }
        last_width = width;
        last_height = height;
    }
    EXPECT_EQ(images, 3 + 11 * 4);

    // Transparency where each pass needs it. The sprite: a soft spot, opaque
    // in the middle, clear at the rim.
    const Alpha sprite(game.mesh_records[MODEL_PARTICLE].texture);
    const int middle = sprite.width / 2;
    EXPECT_GT(sprite.at(middle, middle), 0.9f);
    EXPECT_EQ(sprite.at(0, 0), 0.0f);
    EXPECT_EQ(sprite.at(middle, 0), 0.0f);
    EXPECT_GT(sprite.at(middle, middle / 2), 0.0f);
    EXPECT_LT(sprite.at(middle, middle / 2), sprite.at(middle, middle));
    // The walls: see-through over most of their area.
    for (int wall = MODEL_FIRST_BOUND; wall <= MODEL_LAST_BOUND; ++wall) {
        const float mean = Alpha(game.mesh_records[wall].texture).mean();
        EXPECT_GT(mean, 0.02f) << MODEL_TABLE[wall].file;
        EXPECT_LT(mean, 0.3f) << MODEL_TABLE[wall].file;
    }
    // The sky is drawn first and unblended: fully opaque.
    const Alpha sky(game.mesh_records[MODEL_SKYBOX].texture);
    EXPECT_EQ(*std::min_element(sky.values.begin(), sky.values.end()), 1.0f);
}

TEST_F(ShippedDataTest, ShapesFitWhereTheGamePutsThem)
{
    // The sky surrounds the camera from inside, within the far plane.
    const aiMesh& sky = import(MODEL_SKYBOX);
    for (unsigned f = 0; f < sky.mNumFaces; ++f) {
        const std::vector<glm::vec3> corners = corners_of(sky, f);
        const glm::vec3 middle = (corners[0] + corners[1] + corners[2]) / 3.0f;
        EXPECT_LT(glm::dot(front_of(corners), middle), 0.0f) << "sky face " << f;
        for (const glm::vec3& corner : corners)
            EXPECT_LT(glm::length(corner), FAR_PLANE);
    }

    // Cells hold their models inside the unit cube; cubes fill it and face
    // out, so back-face culling keeps their outsides.
    expect_within(import(MODEL_CUBE), glm::vec3(0.0f), glm::vec3(1.0f), "cube");
    const aiMesh& cube = import(MODEL_CUBE);
    glm::vec3 low(1.0f);
    glm::vec3 high(0.0f);
    for (unsigned i = 0; i < cube.mNumVertices; ++i) {
        low =
            glm::min(low, glm::vec3(cube.mVertices[i].x, cube.mVertices[i].y, cube.mVertices[i].z));
        high = glm::max(high,
                        glm::vec3(cube.mVertices[i].x, cube.mVertices[i].y, cube.mVertices[i].z));
    }
    EXPECT_EQ(low, glm::vec3(0.0f));
    EXPECT_EQ(high, glm::vec3(1.0f));
    for (unsigned f = 0; f < cube.mNumFaces; ++f) {
        const std::vector<glm::vec3> corners = corners_of(cube, f);
        const glm::vec3 middle = (corners[0] + corners[1] + corners[2]) / 3.0f;
        EXPECT_GT(glm::dot(front_of(corners), middle - glm::vec3(0.5f)), 0.0f) << "cube face " << f;
    }
    for (const int model : {MODEL_SHIP, MODEL_GOAL, MODEL_BEAMER})
        expect_within(import(model), glm::vec3(0.0f), glm::vec3(1.0f), MODEL_TABLE[model].file);

    // The turning part of the goal stays inside its cell at every angle.
    const aiMesh& spinning = import(MODEL_GOAL_ROTATE);
    for (unsigned i = 0; i < spinning.mNumVertices; ++i) {
        const glm::vec2 across(spinning.mVertices[i].x - 0.5f, spinning.mVertices[i].z - 0.5f);
        EXPECT_LE(glm::length(across), 0.5f) << "goal_rotate vertex " << i;
        EXPECT_GE(spinning.mVertices[i].y, 0.0f);
        EXPECT_LE(spinning.mVertices[i].y, 1.0f);
    }

    // The marker turns about its origin, the cell's centre, by quarter
    // turns: it stays in the cell whichever way it points, and it narrows to
    // a single tip on the side of +z.
    const aiMesh& cone = import(MODEL_CONE);
    expect_within(cone, glm::vec3(-0.5f), glm::vec3(0.5f), "cone");
    glm::vec3 tip(0.0f, 0.0f, -1.0f);
    for (unsigned i = 0; i < cone.mNumVertices; ++i)
        if (cone.mVertices[i].z > tip.z)
            tip = glm::vec3(cone.mVertices[i].x, cone.mVertices[i].y, cone.mVertices[i].z);
    EXPECT_GT(tip.z, 0.0f);
    for (unsigned i = 0; i < cone.mNumVertices; ++i) {
        const glm::vec3 p(cone.mVertices[i].x, cone.mVertices[i].y, cone.mVertices[i].z);
        if (p.z > tip.z - 0.1f) {
            EXPECT_LT(glm::length(glm::vec2(p.x - tip.x, p.y - tip.y)),
                      0.1f * (tip.z - p.z) + EPSILON)
                << "cone vertex " << i << " is not on the narrowing tip";
        }
    }

    // The sprite: a square about the origin.
    expect_within(import(MODEL_PARTICLE), glm::vec3(-0.5f), glm::vec3(0.5f), "particel");

    // The walls: each one whole face of the unit cube, one per face.
    std::vector<std::pair<int, float>> planes;
    for (int wall = MODEL_FIRST_BOUND; wall <= MODEL_LAST_BOUND; ++wall) {
        const aiMesh& mesh = import(wall);
        expect_within(mesh, glm::vec3(0.0f), glm::vec3(1.0f), MODEL_TABLE[wall].file);
        EXPECT_EQ(mesh.mNumFaces, 2u);
        const glm::vec3 normal = glm::abs(front_of(corners_of(mesh, 0)));
        const int axis = normal.x > 0.5f ? 0 : normal.y > 0.5f ? 1 : 2;
        planes.emplace_back(axis, mesh.mVertices[0][axis]);
    }
    std::sort(planes.begin(), planes.end());
    const std::vector<std::pair<int, float>> faces = {{0, 0.0f}, {0, 1.0f}, {1, 0.0f},
                                                      {1, 1.0f}, {2, 0.0f}, {2, 1.0f}};
    EXPECT_EQ(planes, faces);
}

} // namespace
