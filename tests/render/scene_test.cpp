// Whole frames of the shipped scene after the game's own start-up, probed where
// the camera puts each part: what the play-through's screenshots cannot tell.
#include "app/main_loop.h"
#include "app/startup.h"
#include "gl_test.h"
#include "particles/particle_system.h"
#include "render/model_table.h"
#include "render/scene_renderer.h"
#include "gl/program_builder.h"
#include "transforms/camera.h"
#include "world/world_state.h"

#include <glm/gtc/matrix_transform.hpp>

#include <filesystem>
#include <fstream>
#include <regex>
#include <tuple>

namespace {

constexpr int WIDTH = 320;
constexpr int HEIGHT = 240;

using Frame = std::vector<unsigned char>;

// Over the square of half size `half` about `at`: the share of pixels whose
// channels differ by more than 24 in all, or with `mean` their mean difference.
double compare(const Frame& a, const Frame& b, glm::ivec2 at, int half, bool mean = false)
{
    double sum = 0.0;
    for (int y = at.y - half; y <= at.y + half; ++y)
        for (int x = at.x - half; x <= at.x + half; ++x) {
            int difference = 0;
            for (size_t i = 4 * static_cast<size_t>(y * WIDTH + x), c = 0; c < 3; ++c)
                difference += std::abs(a[i + c] - b[i + c]);
            sum += mean ? difference : difference > 24;
        }
    return sum / ((2 * half + 1) * (2 * half + 1));
}

// A 3 x 3 x 3 level: the ship in a corner, a cube off the camera's diagonal.
class SceneTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* folder : {"Shaders", "obj", "tex"})
            std::filesystem::create_directory_symlink(std::filesystem::path(TIRAK_DATA_DIR) / folder, folder);
        scratch.write("tirak.inp", "width = 320\nheight = 240\nfulscreen = no\n");
        scratch.write("levels/1.lev", "size = 3\ncubes = 2\nlevel = 0 0 0 5  2 0 0 1\n");
        capture_output([&] {
            ASSERT_EQ(initialize(game), 0);
            start_run(game, state);
        });
        ASSERT_FALSE(HasFatalFailure());
        game.camera_distance = 6.0f; // the level fills much of the frame
        game.update_camera();
        glGenQueries(1, &query);
        glGenQueries(1, &samples_query);
    }

    void TearDown() override
    {
        ship_flying = false;
        finish_run(state);
    }

    // One frame without the given models; `written` counts the particles its simulation steps wrote,
    // `passed` the samples that passed the depth test.
    Frame draw(std::initializer_list<int> hidden = {})
    {
        const std::vector<MeshRecord> records = game.mesh_records;
        for (int model : hidden)
            game.mesh_records[model].index_count = 0;
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glBeginQuery(GL_TRANSFORM_FEEDBACK_PRIMITIVES_WRITTEN, query);
        glBeginQuery(GL_SAMPLES_PASSED, samples_query);
        render_scene(state.phong_program, game);
        glEndQuery(GL_SAMPLES_PASSED);
        glEndQuery(GL_TRANSFORM_FEEDBACK_PRIMITIVES_WRITTEN);
        glGetQueryObjectuiv(query, GL_QUERY_RESULT, &written);
        glGetQueryObjectuiv(samples_query, GL_QUERY_RESULT, &passed);
        game.mesh_records = records;
        Frame frame(4 * WIDTH * HEIGHT);
        glReadPixels(0, 0, WIDTH, HEIGHT, GL_RGBA, GL_UNSIGNED_BYTE, frame.data());
        return frame;
    }

    // Where the centre of cell (x, y, z) lands in the frame.
    glm::ivec2 on_screen(float x, float y, float z) const
    {
        const glm::vec4 clip = make_projection(WIDTH, HEIGHT) * game.view_matrix *
                               make_world_translation(game.grid_size) * glm::vec4(x + 0.5f, y + 0.5f, z + 0.5f, 1.0f);
        return {(clip.x / clip.w + 1.0f) * WIDTH / 2, (clip.y / clip.w + 1.0f) * HEIGHT / 2};
    }

    ScratchDirectory scratch;
    Game game;
    RunState state;
    GLuint query = 0, samples_query = 0;
    GLuint written = 0, passed = 0;
};

TEST_F(SceneTest, EachPartShowsWhereItBelongsAndTheFrameLeavesTheStateItFound)
{
    const glm::ivec2 cube = on_screen(2, 0, 0), ship = on_screen(0, 0, 0), whole(WIDTH / 2, HEIGHT / 2);
    const Frame scene = draw();
    EXPECT_EQ(written, 0u) << "no beamer, no simulation step";
    game.cubes.pop_back(); // the cube
    const Frame no_cube = draw();
    game.cubes.emplace_back(2, 0, 0, CELL_CUBE);
    EXPECT_GT(compare(scene, no_cube, cube, 4), 0.9) << "the cube covers the middle of its cell";
    EXPECT_EQ(compare(scene, no_cube, on_screen(0, 2, 2), 2), 0.0) << "and not the empty cell";

    const Frame no_sky = draw({MODEL_SKYBOX});
    EXPECT_GT(compare(scene, no_sky, {20, 20}, 15), 0.3) << "the sky fills the background";
    EXPECT_EQ(compare(scene, no_sky, cube, 4), 0.0) << "behind the cube";

    const Frame no_walls = draw({8, 9, 10, 11, 12, 13});
    const double tint = compare(scene, no_walls, cube, 6, true);
    EXPECT_GT(tint, 6.0) << "the walls tint the cube";
    EXPECT_LT(tint, compare(scene, no_cube, cube, 6, true) / 3) << "but let it show through";

    ship_flying = true;
    const Frame flying = draw();
    EXPECT_GT(compare(scene, flying, ship, 12), 0.0) << "a resting ship shows its heading marker";
    ship_flying = false;
    game.ship_index = static_cast<int32_t>(game.cubes.size());
    EXPECT_EQ(compare(draw(), flying, whole, HEIGHT / 2 - 1), 0.0) << "a level without a ship, none";

    ship_flying = true;
    game.cubes.emplace_back(2, 1, 0, CELL_BEAMER);
    game.cubes.emplace_back(0, 1, 2, CELL_BEAMER);
    const Frame beamers = draw();
    EXPECT_EQ(written, 2 * PARTICLE_COUNT) << "one simulation step per beamer cell";
    for (const glm::ivec2 cell : {on_screen(2, 1, 0), on_screen(0, 1, 2)})
        EXPECT_GT(compare(beamers, flying, cell, 6), 0.1) << "particles at " << cell.x << "," << cell.y;
    EXPECT_EQ(compare(beamers, flying, {20, HEIGHT - 20}, 10), 0.0) << "and nowhere else";

    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST) && glIsEnabled(GL_CULL_FACE) && !glIsEnabled(GL_BLEND));
    GLint depth_writes = 0, program = -1, vertex_array = -1;
    glGetIntegerv(GL_DEPTH_WRITEMASK, &depth_writes);
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &vertex_array);
    EXPECT_EQ(std::make_tuple(depth_writes, program, vertex_array), std::make_tuple(GL_TRUE, 0, 0));
}

// Cubes are drawn nearest the eye first, whatever their order in the level, so what a near cube hides fails
// the depth test: as one instanced draw, or cube by cube with a program that cannot take the cells' matrices.
TEST_F(SceneTest, CubesAreDrawnNearestFirstWithOrWithoutInstancing)
{
    std::ifstream shipped(TIRAK_DATA_DIR "/Shaders/phong.vert");
    const std::string source{std::istreambuf_iterator<char>(shipped), {}};
    const std::regex instancing("uniform int cells_instanced");
    scratch.write("own.vert", std::regex_replace(source, instancing, "const int cells_instanced = 0"));
    std::filesystem::copy_file("Shaders/phong.frag", "own.frag");
    ShaderProgram own;
    capture_output([&] {
        own = load_shader_program("own");
        for (const char* input : {"in_position", "in_normals", "in_textcoords"})
            glBindAttribLocation(own.program, glGetAttribLocation(state.phong_program.program, input), input);
        relink_program(own, OnFailure::REPORT);
    });
    const glm::vec4 far(1, 1, 1, CELL_CUBE), near(2, 2, 2, CELL_CUBE);
    const glm::mat4 turn = glm::translate(glm::mat4(1.0f), glm::vec3(0.5f)) *
                           glm::rotate(glm::mat4(1.0f), glm::radians(90.0f), {1, 0, 0}) *
                           glm::translate(glm::mat4(1.0f), glm::vec3(-0.5f));
    game.cube_rotations = {turn, turn, turn};
    Frame frames[2];
    for (Frame& frame : frames) {
        SCOPED_TRACE(&frame == frames ? "instanced" : "cube by cube");
        game.uniforms = find_uniform_locations(state.phong_program.program);
        GLuint alone[2] = {};
        for (const glm::vec4 cube : {far, near}) {
            game.cubes = {game.cubes[0], cube};
            draw({MODEL_SKYBOX, MODEL_SHIP, MODEL_CONE, 8, 9, 10, 11, 12, 13});
            alone[cube == near] = passed;
        }
        game.cubes = {game.cubes[0], far, near};
        frame = draw({MODEL_SKYBOX, MODEL_SHIP, MODEL_CONE, 8, 9, 10, 11, 12, 13});
        EXPECT_GT(alone[0], 1000u) << "the far cube shows on its own";
        EXPECT_LT(passed, alone[1] + alone[0] / 2) << "hidden by the near cube, drawn before it";
        std::swap(own, state.phong_program);
    }
    EXPECT_EQ(compare(frames[0], frames[1], {WIDTH / 2, HEIGHT / 2}, HEIGHT / 2 - 1), 0.0) << "the same picture";
    destroy_shader_program(own);
}

} // namespace
