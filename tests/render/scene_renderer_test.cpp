// Whole frames of the shipped scene on a real context, probed pixel by
// pixel: what the camera math says should be on screen must be there.
#include "game/game.h"
#include "particles/particle_system.h"
#include "app/main_loop.h"
#include "gl_test.h"
#include "render/model_table.h"
#include "render/render_settings.h"
#include "render/scene_renderer.h"
#include "transforms/camera.h"
#include "world/world_state.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <utility>
#include <vector>

namespace {

constexpr int WIDTH = 320;
constexpr int HEIGHT = 240;

// A pixel counts as changed when its channels differ by more than this in
// all; the frames are otherwise drawn identically.
constexpr int CHANGED = 24;

struct Pixel {
    int r = 0, g = 0, b = 0;
    int brightness() const { return r + g + b; }
};

int difference(const Pixel& a, const Pixel& b)
{
    return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
}

class Frame {
public:
    Frame()
    {
        glReadPixels(0, 0, WIDTH, HEIGHT, GL_RGBA, GL_UNSIGNED_BYTE, bytes.data());
    }
    Pixel at(int x, int y) const
    {
        const size_t i = 4 * (static_cast<size_t>(y) * WIDTH + x);
        return {bytes[i], bytes[i + 1], bytes[i + 2]};
    }
    // Share of the pixels in a square of the given half size around (x, y)
    // that differ from the other frame.
    double changed_near(const Frame& other, int x, int y, int half) const
    {
        int changed = 0;
        int count = 0;
        for (int py = y - half; py <= y + half; ++py)
            for (int px = x - half; px <= x + half; ++px, ++count)
                changed += difference(at(px, py), other.at(px, py)) > CHANGED;
        return static_cast<double>(changed) / count;
    }
    // Mean difference of the pixels in a square around (x, y), summed over
    // the three channels.
    double mean_difference_near(const Frame& other, int x, int y, int half) const
    {
        double sum = 0.0;
        int count = 0;
        for (int py = y - half; py <= y + half; ++py)
            for (int px = x - half; px <= x + half; ++px, ++count)
                sum += difference(at(px, py), other.at(px, py));
        return sum / count;
    }
    double changed_share(const Frame& other) const
    {
        return changed_near(other, WIDTH / 2, HEIGHT / 2, HEIGHT / 2 - 1);
    }
    double mean_brightness() const
    {
        double sum = 0.0;
        for (int y = 0; y < HEIGHT; ++y)
            for (int x = 0; x < WIDTH; ++x)
                sum += at(x, y).brightness();
        return sum / (WIDTH * HEIGHT);
    }

private:
    std::vector<unsigned char> bytes = std::vector<unsigned char>(4 * WIDTH * HEIGHT);
};

// The game's start-up on a 3 x 3 x 3 level with only the ship in its
// corner; tests put further cells into the world lists themselves.
class SceneTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        open_gl_window(WIDTH, HEIGHT);
        for (const char* folder : {"Shaders", "obj", "tex"})
            std::filesystem::create_directory_symlink(
                std::filesystem::path(TIRAK_DATA_DIR) / folder, std::filesystem::path(scratch.path()) / folder);
        scratch.write("levels/1.lev", "size = 3\ncubes = 1\nlevel = 0 0 0 5\n");
        glEnable(GL_FRAMEBUFFER_SRGB);
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_CULL_FACE);
        glEnable(GL_LINE_SMOOTH);

        game.width = WIDTH;
        game.height = HEIGHT;
        capture_output([&] { ASSERT_EQ(start_run(game, state), 0); });
        // Near enough that the 3-cell level fills much of the frame.
        game.camera_distance = 6.0f;
        game.update_camera();
    }

    void TearDown() override
    {
        render_settings = RenderSettings{};
        ship_flying = false;
        finish_run(state);
    }

    void add_cell(float x, float y, float z, int value)
    {
        game.cubes.emplace_back(x, y, z, static_cast<float>(value));
        game.cube_rotations.emplace_back(1.0f);
    }

    Frame draw()
    {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        render_scene(state.phong_program, game);
        return Frame();
    }

    // Where the centre of cell (x, y, z) lands in the frame, in pixels.
    glm::ivec2 on_screen(float x, float y, float z) const
    {
        const glm::vec4 clip = make_projection(WIDTH, HEIGHT) * game.view_matrix *
                               make_world_translation(game.grid_size) *
                               glm::vec4(x + 0.5f, y + 0.5f, z + 0.5f, 1.0f);
        return {static_cast<int>((clip.x / clip.w * 0.5f + 0.5f) * WIDTH),
                static_cast<int>((clip.y / clip.w * 0.5f + 0.5f) * HEIGHT)};
    }

    // Draws nothing for the model from now on; returns what it drew before.
    int hide_model(int index) { return std::exchange(game.mesh_records[index].index_count, 0); }

    ScratchDirectory scratch;
    Game game;
    RunState state;
};

TEST_F(SceneTest, FrameLeavesTheStateTheNextFrameExpects)
{
    add_cell(1, 1, 1, CELL_CUBE);
    add_cell(2, 2, 2, CELL_GOAL);
    add_cell(2, 2, 0, CELL_BEAMER);
    draw();
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    GLboolean depth_writes = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depth_writes);
    EXPECT_TRUE(depth_writes);
    GLint program = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    EXPECT_EQ(program, 0);
    GLint vertex_array = -1;
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &vertex_array);
    EXPECT_EQ(vertex_array, 0);
}

TEST_F(SceneTest, SkyAndCubeAppearWhereTheCameraPutsThem)
{
    const Frame empty = draw();
    add_cell(1, 1, 1, CELL_CUBE);
    const Frame with_cube = draw();
    const glm::ivec2 centre = on_screen(1, 1, 1);
    EXPECT_GT(with_cube.changed_near(empty, centre.x, centre.y, 4), 0.9)
        << "the cube covers the middle of its cell";
    // Cell (2, 0, 2) is empty: nothing there changes.
    const glm::ivec2 corner = on_screen(2, 0, 2);
    EXPECT_EQ(with_cube.changed_near(empty, corner.x, corner.y, 2), 0.0);

    hide_model(MODEL_SKYBOX);
    const Frame no_sky = draw();
    EXPECT_GT(with_cube.changed_near(no_sky, 20, 20, 15), 0.3) << "the sky fills the background";
    EXPECT_EQ(with_cube.changed_near(no_sky, centre.x, centre.y, 4), 0.0)
        << "the sky stays behind the cube";
}

TEST_F(SceneTest, WallsBlendOverTheCells)
{
    add_cell(1, 1, 1, CELL_CUBE);
    const glm::ivec2 centre = on_screen(1, 1, 1);
    const Frame both = draw();
    std::vector<int> wall_indices;
    for (int wall = MODEL_FIRST_BOUND; wall <= MODEL_LAST_BOUND; ++wall)
        wall_indices.push_back(hide_model(wall));
    const Frame cube_only = draw();
    const double tint = both.mean_difference_near(cube_only, centre.x, centre.y, 6);

    for (int wall = MODEL_FIRST_BOUND; wall <= MODEL_LAST_BOUND; ++wall)
        game.mesh_records[wall].index_count = wall_indices[wall - MODEL_FIRST_BOUND];
    game.cubes.pop_back();
    game.cube_rotations.pop_back();
    const Frame walls_only = draw();
    const double cube = both.mean_difference_near(walls_only, centre.x, centre.y, 6);
    // Frames drawn the same way are identical here (no particles, no spin),
    // so even a faint tint stands out.
    EXPECT_GT(tint, 6.0) << "the walls tint the cube behind them";
    EXPECT_GT(cube, 60.0) << "the cube shows through the walls";
    EXPECT_LT(tint, cube / 3.0) << "the walls are see-through, not opaque";
}

TEST_F(SceneTest, LineLoopsChangeThePicture)
{
    add_cell(1, 1, 1, CELL_CUBE);
    add_cell(2, 2, 2, CELL_GOAL);
    const Frame filled = draw();
    render_settings.draw_mode = DRAW_LINE_LOOP;
    const Frame lines = draw();
    EXPECT_GT(lines.changed_share(filled), 0.3);
    EXPECT_LT(lines.mean_brightness(), 0.8 * filled.mean_brightness())
        << "lines leave most of the frame dark";
    render_settings.draw_mode = DRAW_TRIANGLES;
    EXPECT_EQ(draw().changed_share(filled), 0.0);
}

TEST_F(SceneTest, EachBeamerCellStepsAndDrawsTheEffect)
{
    GLuint query = 0;
    glGenQueries(1, &query);
    auto particles_written = [&] {
        glBeginQuery(GL_TRANSFORM_FEEDBACK_PRIMITIVES_WRITTEN, query);
        const Frame frame = draw();
        glEndQuery(GL_TRANSFORM_FEEDBACK_PRIMITIVES_WRITTEN);
        GLuint written = 0;
        glGetQueryObjectuiv(query, GL_QUERY_RESULT, &written);
        return std::make_pair(frame, written);
    };

    const auto [without, none_written] = particles_written();
    EXPECT_EQ(none_written, 0u) << "no beamer, no simulation step";

    add_cell(2, 1, 0, CELL_BEAMER);
    add_cell(0, 1, 2, CELL_BEAMER);
    const auto [with, written] = particles_written();
    EXPECT_EQ(written, 2 * PARTICLE_COUNT) << "one step per beamer cell";
    for (const glm::ivec2 cell : {on_screen(2, 1, 0), on_screen(0, 1, 2)})
        EXPECT_GT(with.changed_near(without, cell.x, cell.y, 6), 0.1)
            << "particles at " << cell.x << "," << cell.y;
    EXPECT_EQ(with.changed_near(without, 20, HEIGHT - 20, 10), 0.0) << "and nowhere else";
}

TEST_F(SceneTest, MarkerShowsOnlyForARestingShip)
{
    const Frame resting = draw();
    ship_flying = true;
    const Frame flying = draw();
    const glm::ivec2 ship = on_screen(0, 0, 0);
    EXPECT_GT(resting.changed_near(flying, ship.x, ship.y, 12), 0.0) << "the marker is drawn";

    // A level that never placed a ship leaves no valid index: no marker,
    // and no read outside the list.
    ship_flying = false;
    game.ship_index = 99;
    EXPECT_EQ(draw().changed_share(flying), 0.0);
}

} // namespace
