#include "support/scratch_levels.h"
#include "support/scripted_window.h"

#include "app/controls.h"
#include "app/editor_controls.h"
#include "app/input_names.h"
#include "app/key_map.h"
#include "app/menu.h"
#include "app/menu_controls.h"
#include "app/progress_keeper.h"
#include "app/pad_map.h"
#include "app/pad_script.h"
#include "app/player_input.h"
#include "app/hud.h"
#include "game/game.h"
#include "platform/window.h"
#include "render/frame_damage.h"
#include "render/hidden_cubes.h"
#include "render/render_settings.h"
#include "transforms/camera.h"
#include "world/assist.h"
#include "world/level_loader.h"
#include "world/level_show.h"
#include "world/update_world.h"
#include "world/world_build.h"
#include "world/world_state.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <tuple>

namespace {

using Cell = std::array<int32_t, 3>;
using C = Command;
constexpr int PRESS = platform::PRESS;

glm::vec3 apply(const glm::mat4& m, const glm::vec3& p) { return glm::vec3(m * glm::vec4(p, 1.0f)); }

#define EXPECT_VEC_NEAR(a, b) EXPECT_LT(glm::distance(glm::vec3(a), glm::vec3(b)), 1e-4f) << #a

// The heading as a vector, and where the marker's +z turns.
glm::vec3 heading_vector()
{
    return glm::vec3(heading_axis == AXIS_X, heading_axis == AXIS_Y, heading_axis == AXIS_Z) * float(heading_sign);
}
glm::vec3 marker_tip() { return glm::mat3(marker_matrix) * glm::vec3(0, 0, 1); }

// Carries out a command; returns what the game printed.
std::string send(Game& game, Command command)
{
    ::testing::internal::CaptureStdout();
    apply_command(game, command);
    return ::testing::internal::GetCapturedStdout();
}

TEST(WorldBuild, ListsOccupiedCellsXOutermostAndPlacesTheLastShipStart)
{
    const ScratchLevels scratch;
    scratch.write("levels/1.lev", "name = Two Ships\n" + level_text(3, "0 0 1 6 2 0 0 1 1 2 0 5 0 1 0 2 0 2 2 5"));
    Game game;
    build_world(game); // and again below: a rebuild replaces the world
    heading_axis = AXIS_Z;
    heading_sign = -1;
    ship_flying = launch_requested = true;
    game.flight_progress = 1.0f;
    std::srand(7);
    build_world(game);
    // In cell order the cube at (2, 0, 0) would come before the goal.
    EXPECT_EQ(game.cubes, (std::vector<glm::vec4>{{0, 0, 1, CELL_GOAL}, {0, 1, 0, CELL_BEAMER},
        {0, 2, 2, CELL_SHIP_START}, {1, 2, 0, CELL_SHIP_START}, {2, 0, 0, CELL_CUBE}}));
    EXPECT_EQ(game.ship_index, 3);
    EXPECT_EQ(level_title(game.level_name, 1), "Two Ships");
    EXPECT_EQ(level_title("", 12), "Level 12");
    EXPECT_EQ(game.grid_position, (Cell{1, 2, 0}));
    EXPECT_EQ(std::count(game.level_grid->cells.begin(), game.level_grid->cells.end(), 0), 24) << "starts are empty";
    // At rest along +x; a launch request survives.
    EXPECT_EQ(game.flight_progress, 0.0f);
    EXPECT_FALSE(ship_flying);
    EXPECT_EQ(heading_axis * heading_sign, AXIS_X);
    EXPECT_TRUE(launch_requested);
    // The unseeded generator draws an axis, then how many quarter turns about the cell's centre.
    ASSERT_EQ(game.cube_rotations.size(), 5u);
    std::srand(7);
    for (const glm::mat4& turn : game.cube_rotations) {
        glm::vec3 axis(0.0f), across(0.0f);
        const int a = std::rand() % 3;
        axis[a] = across[(a + 1) % 3] = 1.0f;
        const float angle = glm::radians(90.0f * static_cast<float>(std::rand() % 4));
        EXPECT_VEC_NEAR(apply(turn, glm::vec3(0.5f)), glm::vec3(0.5f));
        EXPECT_VEC_NEAR(glm::mat3(turn) * axis, axis);
        EXPECT_VEC_NEAR(glm::mat3(turn) * across, across * std::cos(angle) + glm::cross(axis, across) * std::sin(angle));
    }
    launch_requested = false;
}

TEST(Flight, FollowsTheRules)
{
    // Frames count over all launches; the picture may rest off the ship's cell, by its lead of two frame
    // periods a crossed cell. Every row ends the same at any frame time, a stalled process's included.
    struct Row {
        const char *name; int size; const char *entries, *launches; Cell end; int frames, level = 1; glm::vec3 off{};
        const char* printed = "";
    };
    const Row rows[] = {
        {"a cube stops the ship in front of it", 5, "0 0 0 5 3 0 0 1", "+x", {2, 0, 0}, 5},
        {"a cube straight ahead", 3, "0 0 0 5 1 0 0 1", "+x", {0, 0, 0}, 1},
        {"a hidden wall keeps the lead", 5, "0 0 4 5 0 0 1 3", "-z", {0, 0, 2}, 5, 1, {0, 0, -4.0f / 60}},
        {"from the first beamer out of the last", 5, "1 0 0 2 1 0 3 2 4 0 0 1 4 0 3 1 0 0 0 5", "+x", {3, 0, 3}, 5},
        {"from the last beamer out of the first", 5, "1 0 0 2 1 0 3 2 4 0 0 1 4 0 3 1 0 0 3 5", "+x", {3, 0, 0}, 5},
        {"a single beamer, in the last cell, sends it on from itself", 6, "5 5 3 5 5 5 5 2", "+z", {5, 5, 3}, 21},
        // Stopped at its exit beamer, the ship rests halfway into a step.
        {"a rest right after a beamer", 5, "0 0 0 5 1 0 0 2 3 0 2 2 4 0 2 1 3 0 0 1", "+x -z", {3, 0, 1}, 4},
        {"the goal loads the next level at once", 4, "0 0 0 5 0 1 0 6", "+y", {3, 3, 3}, 1, 2},
        {"a cube at x = 15 stops it at 14, short of the loss bound", 16, "0 0 0 5 15 0 0 1", "+x", {14, 0, 0}, 29},
        {"lost once past x = 15", 5, "0 1 2 5", "+x", {0, 1, 2}, 29},
        {"lost once past y = -10, after a beamer", 5, "2 0 1 2 2 3 1 2 2 4 1 5", "-y", {2, 4, 1}, 19},
        {"the far edges do not wrap", 3, "2 2 0 5 0 0 1 1 2 0 1 1", "+x +y", {2, 2, 0}, 50},
        {"cubes at 0 stop it", 3, "2 2 2 5 0 2 2 1 1 0 2 1 1 1 0 1", "-x -y -z", {1, 1, 1}, 9},
        // Into the last beamer, out of the first behind the ship, and into the last again: round for ever.
        {"an endless flight starts the level again", 6, "2 0 0 5 1 0 0 2 5 0 0 2", "+x", {2, 0, 0}, 11, 1, {},
         "levels/1.lev: the beamers send the ship round for ever; the level starts again.\n"},
    };
    const ScratchLevels scratch;
    scratch.write("levels/2.lev", level_text(4, "3 3 3 5"));
    scratch.write("levels/1.lev", "");
    for (const double dt : {1.0 / 60, 1.0 / 30, 1.0 / 10, 0.5})
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.name) + " at dt " + std::to_string(dt));
        scratch.write("levels/1.lev", level_text(row.size, row.entries));
        Game game;
        game.level_file_count = count_level_files();
        build_world(game);
        std::istringstream launches(row.launches);
        int frames = 0;
        ::testing::internal::CaptureStdout();
        for (std::string heading; launches >> heading;) {
            heading_sign = heading[0] == '+' ? +1 : -1;
            heading_axis = AXIS_X + heading[1] - 'x';
            launch_requested = true;
            for (int limit = frames + 100; (ship_flying || launch_requested) && frames < limit; ++frames)
                update_world(game, dt);
        }
        EXPECT_EQ(::testing::internal::GetCapturedStdout(), row.printed);
        EXPECT_EQ(game.grid_position, row.end) << show_level(*game.level_grid);
        EXPECT_VEC_NEAR(game.cubes[game.ship_index], glm::vec3(row.end[0], row.end[1], row.end[2]) + row.off);
        EXPECT_EQ(frames, row.frames);
        EXPECT_EQ(game.level_number, row.level);
    }
}

TEST(Camera, TurnedByTheMouseMovedByTheWheelProjectedToTheWindow)
{
    const ScratchLevels scratch;
    scratch.write("levels/1.lev", level_text(2, "0 0 0 5"));
    Game game;
    build_world(game);
    launch_requested = false;
    const int moves[][4] = { // mouse x, y; then azimuth and polar, from 315 and 45 degrees
        {10, 0, 325, 45}, {60, 30, 375, 75},
        // Reaching a pole drops the vertical part, and uses it up.
        {63, 135, 378, 75}, {63, 239, 378, 179}, {63, 240, 378, 179}, {63, 61, 378, 179}, {63, -117, 378, 1},
        {135, 17, 450, 135}};
    for (const auto& [x, y, azimuth, polar] : moves) {
        scripted::mouse_x = x;
        scripted::mouse_y = y;
        update_world(game, 1.0 / 60);
        EXPECT_EQ(game.camera_azimuth, azimuth) << x << ", " << y;
        EXPECT_EQ(game.camera_polar, polar) << x << ", " << y;
    }
    // The eye orbits the target: more azimuth turns it from +x towards -z, more polar angle lowers it.
    EXPECT_VEC_NEAR(game.camera_eye, glm::vec3(0, -std::sqrt(98.0f), -std::sqrt(98.0f)));
    EXPECT_VEC_NEAR(apply(game.view_matrix, game.camera_target), glm::vec3(0, 0, -14));
    const glm::mat4 p = make_projection(800, 600);
    EXPECT_NEAR(p[1][1] / p[0][0], 4.0f / 3.0f, 1e-4f) << "the window's aspect";
    EXPECT_VEC_NEAR(apply(make_world_translation(3), {1.5f, 1.5f, 1.5f}), glm::vec3(0.0f)) << "the grid's centre";
    // At half the speed, up and down inverted: right and down turn half as far and raise the eye.
    game.options = {TextSize::MEDIUM, 50, true};
    scripted::mouse_x += 20;
    scripted::mouse_y += 20;
    update_world(game, 1.0 / 60);
    EXPECT_EQ(std::pair(game.camera_azimuth, game.camera_polar), std::pair(460.0f, 125.0f));

    // The wheel: a fixed step a frame until the camera has caught up.
    const float start = game.camera_distance;
    for (const auto& [wheel, frames, moved] : {std::tuple{1, 10, 0.5f}, {1, 11, 1.0f}, {-1, 30, -0.5f}, {-3, 90, -3.0f}, {-3, 5, -3.0f}}) {
        scripted::wheel = wheel;
        for (int frame = 0; frame < frames; ++frame)
            update_world(game, 1.0 / 60);
        EXPECT_NEAR(game.camera_distance, start + moved, 1e-4f) << "wheel " << wheel;
    }
    scripted::now = 0.9; // 90 degrees at 100 a second, by the clock, about the cell's vertical centre line
    update_world(game, 1.0 / 60);
    EXPECT_VEC_NEAR(apply(game.goal_spin_matrix, {1.0f, 0.5f, 0.5f}), glm::vec3(0.5f, 0.5f, 0.0f));
}

TEST(FrameDamage, WhileTheSceneKeepsStillOnlyTheCloudsTheSpinAndTheTextAreDrawnAgain)
{
    const ScratchLevels scratch;
    Game game;
    game.width = 800;
    game.height = 600;
    const std::vector<ScreenRect> whole{whole_window(800, 600)};
    FrameDamage damage;
    // Wherever the clouds' sprites and the goal's ring turn, they stay in
    // what is drawn again.
    const auto inside = [&](const std::vector<ScreenRect>& parts, const glm::vec3& at) {
        const glm::mat4 clip = make_projection(800, 600) * game.view_matrix * make_world_translation(6);
        const glm::vec4 c = clip * glm::vec4(at, 1.0f);
        const glm::vec2 pixel = (glm::vec2(c) / c.w + 1.0f) * 0.5f * glm::vec2(800, 600);
        return std::any_of(parts.begin(), parts.end(), [&](const ScreenRect& rect) {
            return pixel.x >= rect.left && pixel.x <= rect.right && pixel.y >= rect.bottom && pixel.y <= rect.top;
        });
    };
    scratch.write("levels/1.lev", level_text(6, "0 0 0 5 5 0 5 2 0 5 0 2"));
    build_world(game);
    EXPECT_EQ(damage.next(game, {}), whole) << "the first frame";
    // Far apart, the two clouds are drawn in a part each.
    const std::vector<ScreenRect> clouds = damage.next(game, {});
    EXPECT_EQ(clouds.size(), 2u) << testing::PrintToString(clouds);
    for (const glm::vec3& beamer : {glm::vec3(5, 0, 5), glm::vec3(0, 5, 0)})
        for (const glm::vec3& corner : {glm::vec3(-0.09f), glm::vec3(1.09f), glm::vec3(-0.09f, 1.09f, 1.09f)})
            EXPECT_TRUE(inside(clouds, beamer + corner)) << beamer.z << " " << corner.x;
    scratch.write("levels/1.lev", level_text(6, "0 0 0 5 5 0 0 6 2 2 2 1"));
    build_world(game);
    ship_flying = false;
    // Seen square on, where the turning ring reaches furthest past its cell.
    game.camera_azimuth = 0.0f;
    game.update_camera();
    EXPECT_EQ(damage.next(game, {}), whole) << "another level";
    for (scripted::now = 0.0; scripted::now < 3.6; scripted::now += 0.15) {
        update_world(game, 1.0 / 60);
        const std::vector<ScreenRect> spin = damage.next(game, {});
        for (const glm::vec3& corner : {glm::vec3(0), glm::vec3(1), glm::vec3(1, 0, 0), glm::vec3(0, 1, 1)})
            EXPECT_TRUE(inside(spin, glm::vec3(5, 0, 0) + apply(game.goal_spin_matrix, corner))) << scripted::now;
    }
    const std::vector<ScreenRect> still = damage.next(game, {});
    ASSERT_EQ(still.size(), 1u);
    EXPECT_TRUE(!still[0].empty() && area(still[0]) < 800 * 600 / 20) << area(still[0]);
    const ScreenRect text{10, 20, 30, 40};
    EXPECT_EQ(damage.next(game, {text}), std::vector({still[0], text})) << "the text far off, in a part of its own";
    const ScreenRect beside{still[0].right, still[0].bottom, still[0].right + 10, still[0].top};
    EXPECT_EQ(damage.next(game, {beside}), std::vector{unite(still[0], beside)}) << "the text beside the spin, with it";

    // Parts are drawn together where a pass would cost more than the
    // pixels between them, and never in more than so many passes.
    const std::tuple<std::vector<ScreenRect>, long, std::vector<ScreenRect>> groups[] = {
        {{{0, 0, 100, 100}, {700, 500, 800, 600}}, 16384, {{0, 0, 100, 100}, {700, 500, 800, 600}}},
        {{{0, 0, 100, 100}, {110, 0, 200, 100}}, 16384, {{0, 0, 200, 100}}},
        {{{0, 0, 100, 100}, {}, {50, 50, 150, 150}}, 16384, {{0, 0, 150, 150}}},
        {{{0, 0, 10, 10}, {200, 0, 210, 10}, {400, 0, 410, 10}, {600, 0, 610, 10}, {0, 500, 10, 510}}, 0,
         {{0, 0, 210, 10}, {400, 0, 410, 10}, {600, 0, 610, 10}, {0, 500, 10, 510}}},
        {{{}, {}}, 0, {}},
    };
    for (const auto& [rects, pass_pixels, parts] : groups)
        EXPECT_EQ(group_for_passes(rects, pass_pixels, 4), parts) << rects.size() << " rects, " << pass_pixels;

    // Boxes across the window's edges are cut to it, those wholly beside
    // it are seen nowhere, those reaching behind the eye may be anywhere.
    const glm::mat4 pixels = glm::ortho(0.0f, 800.0f, 0.0f, 600.0f, -1.0f, 1.0f);
    glm::mat4 behind(1.0f);
    behind[3][3] = -1.0f;
    const std::tuple<glm::mat4, glm::vec3, glm::vec3, ScreenRect> boxes[] = {
        {pixels, {-10.5f, -10.5f, 0}, {20.5f, 30.5f, 0}, {0, 0, 22, 32}},
        {pixels, {790.5f, 590.5f, 0}, {900, 700, 0}, {789, 589, 800, 600}},
        {pixels, {900, 0, 0}, {950, 10, 0}, {}},
        {behind, {0, 0, 0}, {1, 1, 1}, {0, 0, 800, 600}},
    };
    for (const auto& [clip, low, high, rect] : boxes)
        EXPECT_EQ(screen_rect_of_box(clip, low, high, 800, 600), rect) << low.x;
    EXPECT_TRUE(overlap({0, 0, 21, 31}, {20, 30, 40, 40}) && !overlap({0, 0, 21, 31}, {21, 0, 40, 40}));

    // Anything else the scene is drawn from takes the whole window, once.
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"camera", [&] { game.camera_azimuth += 0.5f; game.update_camera(); }},
        {"window", [&] { game.width = 640; }},
        {"a cell", [&] { game.cubes[1].x -= 1.0f; }},
        {"a cube's turn", [&] { game.cube_rotations.back()[0][1] = 0.1f; }},
        {"heading", [&] { marker_matrix[3][0] += 1.0f; }},
        {"sampling", [&] { render_settings.mag_filter = FILTER_NEAREST; }},
        {"a texture", [&] { game.mesh_records.push_back({1, 2, 3}); }},
        {"flight", [&] { ship_flying = true; }},
        {"the editor", [&] { game.edit_mode = EditMode::EDITING; }},
        {"forgotten", [&] { damage.forget(); }},
    };
    for (const auto& [what, change] : changes) {
        change();
        const std::vector<ScreenRect> all{whole_window(game.width, game.height)};
        EXPECT_EQ(damage.next(game, {}), all) << what;
        const bool lasting = what == std::string("flight") || what == std::string("the editor");
        EXPECT_EQ(damage.next(game, {}) == all, lasting) << what;
        ship_flying = false;
        game.edit_mode = EditMode::OFF;
        damage.next(game, {});
    }
    render_settings = {};
}

TEST(HiddenCubes, OnlyCubesClosedInOnEverySideAreLeftOutAndNeverNearTheEye)
{
    const auto block = [](int n) {
        std::vector<glm::vec4> cells;
        for (int x = 0; x < n; ++x)
            for (int y = 0; y < n; ++y)
                for (int z = 0; z < n; ++z)
                    cells.emplace_back(x, y, z, CELL_CUBE);
        return cells;
    };
    const auto with = [](std::vector<glm::vec4> cells, size_t k, int kind) {
        cells[k].w = static_cast<float>(kind);
        return cells;
    };
    std::vector<glm::vec4> open_corner = block(3);
    open_corner.erase(open_corner.begin());
    const glm::vec3 far(20.0f, 1.5f, 1.5f);
    // The middle of 27 is cell 13, the middle eight of 64 are 21 to 42.
    const std::tuple<const char*, std::vector<glm::vec4>, int, glm::vec3, std::vector<size_t>> cases[] = {
        {"27 cubes from afar", block(3), 3, far, {13}},
        {"a beamer in a corner", with(block(3), 0, CELL_BEAMER), 3, far, {}},
        {"a goal beside it", with(block(3), 12, CELL_GOAL), 3, far, {}},
        {"a corner left empty", open_corner, 3, far, {}},
        {"the eye in the block", block(3), 3, {0.5f, 0.5f, 0.5f}, {}},
        {"the eye just outside it", block(3), 3, {3.3f, 1.5f, 1.5f}, {}},
        {"the eye clear of it", block(3), 3, {3.7f, 1.5f, 1.5f}, {13}},
        {"64 cubes", block(4), 4, far, {21, 22, 25, 26, 37, 38, 41, 42}},
        {"27 cubes on a larger grid", block(3), 5, far, {13}},
    };
    for (const auto& [what, cells, grid_size, eye, expected] : cases) {
        const std::vector<bool> hidden = hidden_cubes(cells, grid_size, eye);
        std::vector<size_t> found;
        for (size_t k = 0; k < hidden.size(); ++k)
            if (hidden[k])
                found.push_back(k);
        EXPECT_EQ(hidden.size(), cells.size()) << what;
        EXPECT_EQ(found, expected) << what;
    }
}

TEST(Controls, CommandsChooseTheHeadingButNothingChangesInFlight)
{
    constexpr int X = AXIS_X, Y = AXIS_Y, Z = AXIS_Z, FLYING = -1;
    struct Row { const char* name; Command command; int event, heading; }; // heading: axis times sign, or 0 for none
    const Row rows[] = {
        {"left from +x", C::TURN_LEFT, PRESS, -Z}, {"left", C::TURN_LEFT, PRESS, -X}, {"right", C::TURN_RIGHT, PRESS, -Z},
        {"right round", C::TURN_RIGHT, PRESS, X}, {"right", C::TURN_RIGHT, PRESS, Z}, {"left back to +x", C::TURN_LEFT, PRESS, X},
        {"up", C::HEAD_UP, PRESS, Y}, {"down", C::HEAD_DOWN, PRESS, -Y}, {"any key", C::SHOW_HEADING, PRESS, -Y},
        {"right after down", C::TURN_RIGHT, PRESS, Z}, {"up", C::HEAD_UP, PRESS, Y}, {"left after up", C::TURN_LEFT, PRESS, X},
        {"launch", C::LAUNCH, PRESS, X}, {"up in flight", C::HEAD_UP, FLYING, 0}, {"mipmaps in flight", C::CYCLE_MIPMAPS, FLYING, 0},
        {"launch in flight", C::LAUNCH, FLYING, 0}, {"any key after landing", C::SHOW_HEADING, PRESS, X},
    };
    Game game;
    view_index = vertical_heading = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        // Further off than a new level's +x: every command must set the whole heading.
        heading_axis = heading_sign = 0;
        marker_matrix = glm::mat4(1.0f);
        launch_requested = false;
        ship_flying = row.event == FLYING;
        EXPECT_EQ(send(game, row.command), "");
        EXPECT_EQ(launch_requested, row.command == C::LAUNCH && row.event == PRESS);
        EXPECT_EQ(heading_axis * heading_sign, row.heading);
        EXPECT_VEC_NEAR(marker_tip(), heading_axis == 0 ? glm::vec3(0, 0, 1) : heading_vector());
    }
    ship_flying = launch_requested = false;
}

TEST(Controls, KeysAskForTheirCommandsInEachModeAndCtrlIsHeldByItsOwnEvents)
{
    using platform::RELEASE;
    constexpr EditMode PLAYING = EditMode::OFF, EDITING = EditMode::EDITING, TESTING = EditMode::TESTING;
    constexpr std::optional<Command> NONE;
    struct Row { EditMode mode; int key, action; std::optional<Command> command; };
    // In order, on one map: Ctrl is down from its press to its release.
    const Row rows[] = {
        {PLAYING, 'W', PRESS, C::HEAD_UP}, {PLAYING, 'S', PRESS, C::HEAD_DOWN}, {PLAYING, 'A', PRESS, C::TURN_LEFT},
        {PLAYING, 'D', PRESS, C::TURN_RIGHT}, {PLAYING, platform::KEY_SPACE, PRESS, C::LAUNCH},
        {PLAYING, 'R', PRESS, C::RESTART}, {PLAYING, 'U', PRESS, C::UNDO}, {PLAYING, 'H', PRESS, C::HINT},
        {PLAYING, platform::KEY_PAGEUP, PRESS, C::PREVIOUS_LEVEL}, {PLAYING, platform::KEY_PAGEDOWN, PRESS, C::NEXT_LEVEL},
        {PLAYING, platform::KEY_HOME, PRESS, C::FIRST_LEVEL}, {PLAYING, platform::KEY_END, PRESS, C::FURTHEST_LEVEL},
        {PLAYING, 'M', PRESS, C::MUTE}, {PLAYING, 'E', PRESS, C::EDIT}, {PLAYING, platform::KEY_F1, PRESS, C::HELP},
        {PLAYING, platform::KEY_F3, PRESS, C::TOGGLE_WIREFRAME}, {PLAYING, platform::KEY_F4, PRESS, C::TOGGLE_SAMPLING},
        {PLAYING, platform::KEY_F5, PRESS, C::CYCLE_MIPMAPS}, {PLAYING, 'Q', PRESS, C::SHOW_HEADING},
        {PLAYING, platform::KEY_TAB, PRESS, C::SHOW_HEADING}, {PLAYING, 'W', RELEASE, C::SHOW_HEADING},
        {EDITING, platform::KEY_UP, PRESS, C::CURSOR_AWAY}, {EDITING, platform::KEY_DOWN, PRESS, C::CURSOR_NEARER},
        {EDITING, platform::KEY_RIGHT, PRESS, C::CURSOR_RIGHT}, {EDITING, platform::KEY_LEFT, PRESS, C::CURSOR_LEFT},
        {EDITING, platform::KEY_PAGEUP, PRESS, C::LAYER_UP}, {EDITING, platform::KEY_PAGEDOWN, PRESS, C::LAYER_DOWN},
        {EDITING, '1', PRESS, C::PLACE_CUBE}, {EDITING, '2', PRESS, C::PLACE_BEAMER},
        {EDITING, '5', PRESS, C::PLACE_SHIP_START}, {EDITING, '6', PRESS, C::PLACE_GOAL}, {EDITING, '0', PRESS, C::EMPTY_CELL},
        {EDITING, platform::KEY_DEL, PRESS, C::EMPTY_CELL}, {EDITING, '=', PRESS, C::GROW}, {EDITING, '+', PRESS, C::GROW},
        {EDITING, '-', PRESS, C::SHRINK}, {EDITING, 'E', PRESS, C::EDIT}, {EDITING, platform::KEY_TAB, PRESS, C::PLAY_TEST},
        {EDITING, 'W', PRESS, NONE}, {EDITING, 'S', PRESS, NONE}, {EDITING, platform::KEY_UP, RELEASE, NONE},
        {EDITING, platform::KEY_F1, PRESS, C::HELP}, {EDITING, platform::KEY_F3, PRESS, C::TOGGLE_WIREFRAME},
        {EDITING, platform::KEY_F4, PRESS, C::TOGGLE_SAMPLING}, {EDITING, platform::KEY_F5, PRESS, C::CYCLE_MIPMAPS},
        {EDITING, 'M', PRESS, C::MUTE}, {EDITING, 'M', RELEASE, C::SHOW_HEADING},
        {EDITING, platform::KEY_LCTRL, PRESS, NONE}, {EDITING, 'Z', PRESS, C::EDIT_UNDO},
        {EDITING, platform::KEY_RCTRL, PRESS, NONE}, {EDITING, platform::KEY_LCTRL, RELEASE, NONE},
        {EDITING, 'Y', PRESS, C::EDIT_REDO}, {EDITING, 'S', PRESS, C::SAVE}, {EDITING, 'N', PRESS, C::NEW_LEVEL},
        {EDITING, 'C', PRESS, C::COPY_LEVEL}, {EDITING, 'V', PRESS, C::PASTE_LEVEL},
        {EDITING, '1', PRESS, NONE}, {PLAYING, 'S', PRESS, C::HEAD_DOWN}, {EDITING, platform::KEY_RCTRL, RELEASE, NONE},
        {EDITING, 'Z', PRESS, NONE}, {EDITING, 'N', PRESS, NONE}, {EDITING, 'V', PRESS, C::SOLVER_VIEW},
        {PLAYING, 'V', PRESS, C::SHOW_HEADING},
        {TESTING, 'E', PRESS, C::EDIT}, {TESTING, platform::KEY_TAB, PRESS, C::EDIT}, {TESTING, 'R', PRESS, C::RESTART},
        {TESTING, platform::KEY_PAGEUP, PRESS, NONE}, {TESTING, platform::KEY_END, PRESS, NONE},
        {TESTING, platform::KEY_PAGEUP, RELEASE, C::SHOW_HEADING},
    };
    KeyMap keys;
    const InputBindings bindings(default_key_bindings());
    for (const Row& row : rows) {
        SCOPED_TRACE("row " + std::to_string(&row - rows + 1));
        EXPECT_EQ(keys.command_for(row.key, row.action, row.mode, bindings), row.command);
    }
}

// The settings' key_ and pad_ lines, and what the keys and buttons ask for
// after them, in play and in the editor.
TEST(Controls, ThePlayersBindingsReplaceTheGamesAndEachLineTheyCannotTakeIsSaid)
{
    constexpr EditMode PLAYING = EditMode::OFF, EDITING = EditMode::EDITING;
    constexpr std::optional<Command> NONE;
    struct Asked { EditMode mode; Chord chord; std::optional<Command> command; };
    struct Row { const char* name; SettingLines lines; std::vector<std::string> said; std::vector<Asked> asked; };
    const int RETURN = platform::KEY_ENTER;
    const Row rows[] = {
        {"none", {{"width", "800"}}, {}, {{PLAYING, {' '}, C::LAUNCH}, {EDITING, {'S', true}, C::SAVE}}},
        {"Return and L", {{"key_launch", "Return"}, {"key_jump", "J"}, {"key_right", "l"}},
         {"tirak.inp: key_jump names no command; the manual page tirak(6) lists them."},
         {{PLAYING, {RETURN}, C::LAUNCH}, {PLAYING, {' '}, NONE}, {PLAYING, {'L'}, C::TURN_RIGHT}, {PLAYING, {'D'}, NONE}}},
        {"a clash: the first keeps it", {{"key_hint", "Return"}, {"key_undo", "return, F6"}},
         {"tirak.inp: key_undo = return, F6: Return is hint's already, and hint keeps it."},
         {{PLAYING, {RETURN}, C::HINT}, {PLAYING, {platform::KEY_F1 + 5}, C::UNDO}, {PLAYING, {'U'}, NONE}}},
        {"an unknown key keeps the default", {{"key_hint", "Spaec"}},
         {"tirak.inp: key_hint = Spaec: \"Spaec\" is no key name; hint keeps H."},
         {{PLAYING, {'H'}, C::HINT}}},
        {"a default moves, an only key says so", {{"key_launch", "A"}, {"key_save", "Ctrl+A"}},
         {"tirak.inp: key_launch = A takes left's only key; left has none now."},
         {{PLAYING, {'A'}, C::LAUNCH}, {EDITING, {'A', true}, C::SAVE}, {EDITING, {'S', true}, NONE}}},
        {"a clash's loser keeps its own", {{"key_hint", "Space"}, {"key_undo", "Space"}},
         {"tirak.inp: key_hint = Space takes launch's only key; launch has none now.",
          "tirak.inp: key_undo = Space: Space is hint's already, and hint keeps it."},
         {{PLAYING, {' '}, C::HINT}, {PLAYING, {'U'}, C::UNDO}, {PLAYING, {'H'}, NONE}}},
        {"swapped in either order", {{"key_launch", "W"}, {"key_up", "Space"}},
         {}, {{PLAYING, {'W'}, C::LAUNCH}, {PLAYING, {' '}, C::HEAD_UP}}},
        {"modes apart: one key for play and editor", {{"key_place_cube", "H"}},
         {}, {{PLAYING, {'H'}, C::HINT}, {EDITING, {'H'}, C::PLACE_CUBE}, {EDITING, {'1'}, NONE}}},
        {"empty: none", {{"key_hint", ""}}, {}, {{PLAYING, {'H'}, NONE}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        InputBindings keys(default_key_bindings());
        EXPECT_EQ(keys.take_settings(row.lines, KEY_SPELLING, "tirak.inp"), row.said);
        for (const Asked& asked : row.asked)
            EXPECT_EQ(keys.command_for(asked.chord, asked.mode), asked.command) << asked.chord.input;
    }

    InputBindings pad(default_pad_bindings());
    EXPECT_EQ(pad.take_settings({{"pad_save", "Start"}, {"pad_hint", "Back+Back"}, {"pad_edit", "Back+Y"}}, PAD_SPELLING,
                                "tirak.inp"),
              (std::vector<std::string>{"tirak.inp: pad_hint = Back+Back: \"Back+Back\" is no button name; hint keeps X.",
                                        "tirak.inp: pad_edit = Back+Y takes new_level's only button; new_level has none now."}));
    EXPECT_EQ(pad.command_for({platform::PAD_START}, EDITING), C::SAVE);
    EXPECT_EQ(pad.command_for({platform::PAD_START}, PLAYING), C::MENU);
}

// A pad's states, frame by frame, and the commands each frame asks for.
TEST(Controls, APadAsksOncePerPushPastItsDeadZoneAndNothingAsItComesOrGoes)
{
    using namespace platform;
    constexpr EditMode PLAYING = EditMode::OFF, EDITING = EditMode::EDITING;
    struct Frame { const char* name; EditMode mode; bool connected; std::vector<int> buttons; float x, y, left_trigger;
                   std::vector<Command> commands; };
    const Frame frames[] = {
        {"no pad", PLAYING, false, {PAD_A}, 0, 0, -1, {}},
        {"plugged in with A held", PLAYING, true, {PAD_A}, 0, 0, -1, {}},
        {"A let go", PLAYING, true, {}, 0, 0, -1, {}},
        {"A pressed", PLAYING, true, {PAD_A}, 0, 0, -1, {C::LAUNCH}},
        {"A held", PLAYING, true, {PAD_A}, 0, 0, -1, {}},
        {"every button", PLAYING, true, {PAD_B, PAD_X, PAD_Y, PAD_LEFT_BUMPER, PAD_RIGHT_BUMPER, PAD_START,
         PAD_LEFT_THUMB, PAD_DPAD_UP}, 0, 0, -1,
         {C::UNDO, C::HINT, C::RESTART, C::PREVIOUS_LEVEL, C::NEXT_LEVEL, C::MENU, C::MUTE, C::HEAD_UP}},
        {"let go", PLAYING, true, {}, 0, 0, -1, {}},
        {"Back down", PLAYING, true, {PAD_BACK}, 0, 0, -1, {}},
        {"Back up, alone", PLAYING, true, {}, 0, 0, -1, {C::HELP}},
        {"Back down again", PLAYING, true, {PAD_BACK}, 0, 0, -1, {}},
        {"and RB with it", PLAYING, true, {PAD_BACK, PAD_RIGHT_BUMPER}, 0, 0, -1, {C::FURTHEST_LEVEL}},
        {"Back up after a chord", PLAYING, true, {}, 0, 0, -1, {}},
        {"inside the dead zone", PLAYING, true, {}, 0.45f, 0, -1, {}},
        {"a push right", PLAYING, true, {}, 0.8f, 0.3f, -1, {C::TURN_RIGHT}},
        {"still pushed", PLAYING, true, {}, 1.0f, 0, -1, {}},
        {"back, not past the middle", PLAYING, true, {}, 0.35f, 0, -1, {}},
        {"pushed again", PLAYING, true, {}, 0.9f, 0, -1, {}},
        {"back to the release line", PLAYING, true, {}, 0.3f, 0, -1, {}},
        {"pushed once more", PLAYING, true, {}, 0.9f, 0, -1, {C::TURN_RIGHT}},
        {"round the edge to up", PLAYING, true, {}, 0.2f, -0.9f, -1, {C::HEAD_UP}},
        {"the middle", PLAYING, true, {}, 0, 0, -1, {}},
        {"down and a little left", PLAYING, true, {}, -0.6f, 0.7f, -1, {C::HEAD_DOWN}},
        {"left", PLAYING, true, {}, -0.9f, 0, -1, {C::TURN_LEFT}},
        {"a trigger in play", PLAYING, true, {}, 0, 0, 1, {}},
        {"pulled out mid-push", PLAYING, false, {PAD_A}, -1, 0, 1, {}},
        {"back, still held", EDITING, true, {PAD_A}, -1, 0, 1, {}},
        {"let go", EDITING, true, {}, 0, 0, -1, {}},
        {"the editor's buttons", EDITING, true, {PAD_A, PAD_B, PAD_X, PAD_Y, PAD_RIGHT_THUMB, PAD_LEFT_BUMPER,
         PAD_RIGHT_BUMPER, PAD_GUIDE, PAD_DPAD_LEFT}, 0, 0, -1,
         {C::PLACE_CUBE, C::EMPTY_CELL, C::PLACE_BEAMER, C::PLACE_GOAL, C::LAYER_DOWN, C::LAYER_UP,
          C::PLACE_SHIP_START, C::CURSOR_LEFT}},
        {"the stick up", EDITING, true, {}, 0, -0.7f, -1, {C::CURSOR_AWAY}},
        {"Back with A, X, the d-pad up and down", EDITING, true, {PAD_BACK, PAD_A, PAD_X, PAD_DPAD_UP, PAD_DPAD_DOWN},
         0, 0, -1, {C::SAVE, C::PLAY_TEST, C::GROW, C::SHRINK}},
        {"and a trigger: the camera's", EDITING, true, {PAD_BACK}, 0, 0, 1, {}},
        {"a trigger at rest", EDITING, true, {}, 0, 0, -1, {}},
        {"pulled a little", EDITING, true, {}, 0, 0, -0.2f, {}},
        {"pulled half way", EDITING, true, {}, 0, 0, 0.1f, {C::EDIT_UNDO}},
        {"eased back a little", EDITING, true, {}, 0, 0, -0.4f, {}},
        {"pulled again", EDITING, true, {}, 0, 0, 0.5f, {}},
        {"let go, pulled", EDITING, true, {}, 0, 0, -0.8f, {}},
        {"and pulled", EDITING, true, {}, 0, 0, 1, {C::EDIT_UNDO}},
    };
    PadMap map;
    const InputBindings bindings(default_pad_bindings());
    for (const Frame& frame : frames) {
        SCOPED_TRACE(frame.name);
        PadState pad;
        pad.connected = frame.connected;
        for (const int button : frame.buttons)
            pad.buttons[static_cast<size_t>(button)] = true;
        pad.axes[PAD_LEFT_X] = frame.x;
        pad.axes[PAD_LEFT_Y] = frame.y;
        pad.axes[PAD_LEFT_TRIGGER] = frame.left_trigger;
        pad.axes[PAD_RIGHT_TRIGGER] = -1;
        EXPECT_EQ(map.commands_for(pad, frame.mode, bindings), frame.commands);
    }
}

// A recorded pad: its steps frame by frame, and the line a wrong one names.
TEST(Controls, APadScriptHoldsEachStepForItsFramesAndNamesAWrongLine)
{
    using namespace platform;
    Result<PadScript> script = PadScript::parse("# a note\n2 A LeftX=-0.8\n\n1 Back+A\n");
    EXPECT_EQ(script.problem(), "line 4: \"Back+A\" is no pad input");
    script = PadScript::parse("2 A LeftX=-0.8 # held\n1 unplugged\n1 StickUp StickLeft RT\n");
    ASSERT_TRUE(script);
    for (int frame = 0; frame < 2; ++frame) {
        const PadState pad = script->next();
        EXPECT_TRUE(pad.connected && pad.buttons[PAD_A] && !pad.buttons[PAD_B]);
        EXPECT_EQ(pad.axes, (std::array<float, PAD_AXES>{-0.8f, 0, 0, 0, -1, -1}));
    }
    EXPECT_FALSE(script->next().connected);
    EXPECT_EQ(script->next().axes, (std::array<float, PAD_AXES>{-1, -1, 0, 0, -1, 1}));
    EXPECT_FALSE(script->next().connected);
    EXPECT_EQ(PadScript::read("no-such-pad.txt").problem(), "no-such-pad.txt: the file is missing or unreadable");
    for (const char* wrong : {"A\n", "0 A\n", "2 LeftX=2\n", "2 LeftZ=0\n"})
        EXPECT_EQ(PadScript::parse(wrong).problem().substr(0, 6), "line 1") << wrong;
}

// What the right stick and the triggers do to the camera over a second.
TEST(Controls, APadsRightStickTurnsTheCameraAndItsTriggersMoveItButNotAtRest)
{
    using namespace platform;
    constexpr EditMode PLAYING = EditMode::OFF, EDITING = EditMode::EDITING;
    struct Row { const char* name; EditMode mode; bool back; float x, y, left, right, azimuth, polar, nearer; };
    const Row rows[] = {
        {"at rest", PLAYING, false, 0, 0, -1, -1, 0, 0, 0},
        {"in the dead zone", PLAYING, false, 0.15f, -0.1f, -1, -1, 0, 0, 0},
        {"full right", PLAYING, false, 1, 0, -1, -1, 150, 0, 0},
        {"half down, past the dead zone", PLAYING, false, 0, 0.6f, -1, -1, 0, 75, 0},
        {"triggers at the middle, as untouched", PLAYING, false, 0, 0, 0, 0, 0, 0, 0},
        {"right trigger pulled", PLAYING, false, 0, 0, -1, 1, 0, 0, 8},
        {"left trigger half", PLAYING, false, 0, 0, 0.5f, -1, 0, 0, -4},
        {"editing: the triggers undo", EDITING, false, -1, 0, -1, 1, -150, 0, 0},
        {"editing with Back held", EDITING, true, 0, 0, -1, 1, 0, 0, 8},
        {"gone", PLAYING, false, 1, 1, 1, 1, 0, 0, 0},
    };
    const PadMap map;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        PadState pad;
        pad.connected = std::string(row.name) != "gone";
        pad.buttons[PAD_BACK] = row.back;
        pad.axes = {0, 0, row.x, row.y, row.left, row.right};
        const PadCamera camera = map.camera_for(pad, row.mode, 1.0);
        EXPECT_NEAR(camera.azimuth, row.azimuth, 1e-3);
        EXPECT_NEAR(camera.polar, row.polar, 1e-3);
        EXPECT_NEAR(camera.nearer, row.nearer, 1e-3);
    }
}

// A game of the scratch directory's levels at level 1, played by commands.
struct CommandedGame : Game {
    CommandedGame()
    {
        level_file_count = count_level_files();
        ::start_level(*this);
        view_index = vertical_heading = 0;
    }
};

// Carries out a command, then plays a frame and on until the ship rests; returns what the game printed.
std::string play(Game& game, Command command)
{
    ::testing::internal::CaptureStdout();
    apply_command(game, command);
    for (int frame = 0; frame == 0 || ((ship_flying || launch_requested) && frame < 200); ++frame)
        update_world(game, 1.0 / 60);
    return ::testing::internal::GetCapturedStdout();
}

// The menu by commands: it pauses a flight that then lands where it would
// have, lists the levels with their progress, plays an open one, changes
// the options at once and in the settings, and shows help or quits.
TEST(Menu, PausesListsTheLevelsAndCarriesOutWhatIsChosen)
{
    const ScratchLevels scratch; // level 1: +x to the cube, then +z to the goal
    scratch.write("levels/1.lev", level_text(4, "0 0 0 5 3 0 0 1 2 0 2 6"));
    scratch.write("levels/2.lev", level_text(3, "1 1 1 5"));
    scratch.write("levels/3.lev", level_text(3, "1 1 1 5"));
    std::filesystem::create_directory(OWN_LEVELS);
    scratch.write("mylevels/1.lev", level_text(3, "0 0 0 5 2 0 0 6"));
    scratch.write("mylevels/progress.inp", "level_2 = 5\nEndConfigFile\n"); // never taken for ours
    scratch.write("progress.inp", "level_1 = 3\nEndConfigFile\n");
    CommandedGame game;
    game.progress.record(1, 3);
    apply_command(game, C::LAUNCH);
    for (int frame = 0; frame < 2; ++frame)
        update_world(game, 1.0 / 60);
    apply_command(game, C::MENU);
    const auto where = std::tuple(game.grid_position, game.flight_progress);
    for (int frame = 0; frame < 30; ++frame)
        update_world(game, 1.0 / 60);
    EXPECT_TRUE(menu_open(game) && game.paused && ship_flying);
    EXPECT_EQ(std::tuple(game.grid_position, game.flight_progress), where) << "paused mid-flight";
    KeyMap keys; // while it is open the keys are the menu's
    EXPECT_EQ(keys.command_for('W', platform::PRESS, EditMode::OFF, player_input().keys, true), C::MENU_UP);
    EXPECT_EQ(keys.command_for(platform::KEY_ENTER, platform::PRESS, EditMode::OFF, player_input().keys, true),
              C::MENU_CHOOSE);
    EXPECT_EQ(keys.command_for('R', platform::PRESS, EditMode::OFF, player_input().keys, true), std::nullopt);
    apply_command(game, C::RESTART); // asks nothing of the game while it is open
    play(game, C::MENU);
    EXPECT_FALSE(menu_open(game) || game.paused || game.aids.restart_requested);
    EXPECT_EQ(game.grid_position, (std::array<int32_t, 3>{2, 0, 0})) << "landed against the cube";

    for (const C command : {C::MENU, C::MENU_DOWN, C::MENU_LEFT, C::MENU_CHOOSE}) // left: no page on this screen
        apply_command(game, command);
    ASSERT_EQ(game.menu->screen(), MenuScreen::LEVELS);
    const auto row = [](const MenuLevel& level) {
        return std::to_string(level.number) + " " + level.title + " " + std::to_string(level.open) + " " +
               std::to_string(level.best) + "/" + std::to_string(level.par);
    };
    std::vector<std::string> rows;
    for (const MenuLevel& level : game.menu->levels())
        rows.push_back(row(level));
    EXPECT_EQ(rows, (std::vector<std::string>{"1 Level 1 1 3/2", "2 Level 2 1 0/0", "3 Level 3 0 0/0",
                                              "1 Your level 1 1 0/1"}));
    EXPECT_EQ(game.menu->cursor(), 0u) << "on the level played";
    for (const C command : {C::MENU_RIGHT, C::MENU_UP, C::MENU_CHOOSE}) // our last level, closed: no choice
        apply_command(game, command);
    EXPECT_TRUE(menu_open(game));
    EXPECT_EQ(game.menu->cursor(), 2u);
    apply_command(game, C::MENU_LEFT);
    EXPECT_EQ(game.menu->cursor(), 0u) << "a page up, as far as the first";
    apply_command(game, C::MENU_DOWN);
    play(game, C::MENU_CHOOSE);
    EXPECT_FALSE(menu_open(game));
    EXPECT_EQ(game.level_number, 2);
    // The player's own, after ours: played in a cycle of their own.
    for (const C command : {C::MENU, C::MENU_DOWN, C::MENU_CHOOSE, C::MENU_RIGHT})
        apply_command(game, command);
    play(game, C::MENU_CHOOSE);
    keep_progress(game);
    EXPECT_EQ(std::tuple(game.level_set, game.level_number, game.progress.solved(2)), std::tuple(LevelSet::OWN, 1, true));
    play(game, C::NEXT_LEVEL);
    EXPECT_EQ(level_file_name(game.level_number, game.level_file_count, game.level_set), "mylevels/1.lev");
    for (const C command : {C::MENU, C::MENU_DOWN, C::MENU_CHOOSE})
        apply_command(game, command);
    EXPECT_EQ(game.menu->cursor(), 3u) << "on the level played";
    for (const C command : {C::MENU_LEFT, C::MENU_DOWN})
        apply_command(game, command);
    play(game, C::MENU_CHOOSE);
    keep_progress(game);
    EXPECT_EQ(std::tuple(game.level_set, game.level_number, game.progress.solved(2)),
              std::tuple(LevelSet::SHIPPED, 2, false));

    // The options change at once and go into the settings as they were written.
    scratch.write("tirak.inp", "# mine\nvolume=80\nEndConfigFile\n");
    for (const C command : {C::MENU, C::MENU_DOWN, C::MENU_DOWN, C::MENU_CHOOSE, C::MENU_CHOOSE})
        apply_command(game, command);
    EXPECT_TRUE(scripted::fullscreen);
    EXPECT_EQ(Menu::option_rows(options_of(game)),
              (std::vector<std::string>{"Window: the whole screen", "Volume: 80", "Music volume: 60", "Sound: on",
                                        "Text: on", "Text size: medium", "Mouse speed: 100%",
                                        "Mouse up and down: as moved"}));
    std::vector<int32_t> volumes;
    for (const C command : {C::MENU_DOWN, C::MENU_LEFT, C::MENU_RIGHT, C::MENU_RIGHT, C::MENU_RIGHT, C::MENU_CHOOSE}) {
        apply_command(game, command);
        volumes.push_back(game.sound_volume);
    }
    EXPECT_EQ(volumes, (std::vector<int32_t>{80, 70, 80, 90, 100, 0}));
    game.said.clear();
    for (const C command : {C::MENU_DOWN, C::MENU_LEFT, C::MENU_DOWN, C::MENU_CHOOSE, C::MENU_RIGHT,
                            C::TOGGLE_WHOLE_SCREEN})
        apply_command(game, command); // the music down; sound off and on again, without a device; F11 back to a window
    EXPECT_FALSE(scripted::fullscreen);
    EXPECT_EQ(game.music_volume, 50);
    EXPECT_EQ(game.said, (std::vector<std::string>{
                             "Music comes on at the next start: it was off at this one.",
                             "Sound comes on at the next start: no sound device was opened for this one."}));
    std::vector<std::string> shown; // the row the cursor is on, after each command
    for (const C command : {C::MENU_DOWN, C::MENU_CHOOSE, C::MENU_DOWN, C::MENU_RIGHT, C::MENU_RIGHT, C::MENU_CHOOSE,
                            C::MENU_LEFT, C::MENU_RIGHT, C::MENU_DOWN, C::MENU_LEFT, C::MENU_LEFT, C::MENU_DOWN,
                            C::MENU_CHOOSE}) {
        apply_command(game, command);
        shown.push_back(Menu::option_rows(options_of(game))[game.menu->cursor()]);
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"Text: on", "Text: off", "Text size: medium", "Text size: large",
                                               "Text size: large", "Text size: small", "Text size: small",
                                               "Text size: medium", "Mouse speed: 100%", "Mouse speed: 75%",
                                               "Mouse speed: 50%", "Mouse up and down: as moved",
                                               "Mouse up and down: inverted"}));
    EXPECT_FALSE(game.text_shown);
    std::ifstream settings("tirak.inp");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(settings), {}),
              "# mine\nvolume=0\nfulscreen = no\nmusic_volume = 50\nsound = yes\ntext = no\ntext_size = medium\n"
              "mouse_speed = 50\n"
              "mouse_invert = yes\nEndConfigFile\n");
    for (int back = 0; back < 4; ++back)
        apply_command(game, C::MENU_UP);
    apply_command(game, C::MENU_BACK);
    EXPECT_EQ(game.menu->cursor(), 2u) << "back on Options";
    apply_command(game, C::MENU_BACK);

    // Keys: the next key or button pressed is the command's, unless another command holds it; F2 keeps it.
    for (const C command : {C::MENU, C::MENU_DOWN, C::MENU_CHOOSE, C::MENU_BACK, C::MENU_DOWN, C::MENU_DOWN,
                            C::MENU_CHOOSE, C::MENU_DOWN, C::MENU_DOWN, C::MENU_DOWN, C::MENU_DOWN, C::MENU_CHOOSE})
        apply_command(game, command); // Levels, back on Levels, down past Options to Keys, and down to launch
    ASSERT_EQ(game.menu->awaiting(), C::LAUNCH);
    PlayerInput& input = player_input();
    game.said.clear();
    bind_from_menu(game, {platform::KEY_ENTER, false}, KEY_SPELLING, input.keys);
    for (const C command : {C::MENU_DOWN, C::MENU_CHOOSE}) // restart
        apply_command(game, command);
    bind_from_menu(game, {platform::KEY_F1 + 1, false}, KEY_SPELLING, input.keys);
    apply_command(game, C::MENU_CHOOSE);
    bind_from_menu(game, {platform::KEY_ENTER, false}, KEY_SPELLING, input.keys);
    apply_command(game, C::MENU_CHOOSE);
    bind_from_menu(game, {platform::PAD_A, false}, PAD_SPELLING, input.pad);
    EXPECT_EQ(input.keys.command_for({platform::KEY_ENTER, false}, EditMode::OFF), C::LAUNCH);
    EXPECT_EQ(input.keys.chords_for(C::RESTART), (std::vector<Chord>{{'R', false}})) << "F2 kept it";
    EXPECT_EQ(input.pad.chords_for(C::RESTART), (std::vector<Chord>{{platform::PAD_Y, false}}));
    EXPECT_EQ(game.said, (std::vector<std::string>{"Return is launch's already; restart keeps R.",
                                                   "A is launch's already; restart keeps Y."}));
    std::ifstream bound("tirak.inp");
    EXPECT_NE(std::string(std::istreambuf_iterator<char>(bound), {}).find("\nkey_launch = Return\nEndConfigFile"),
              std::string::npos);
    input = PlayerInput{};
    for (const C command : {C::MENU_BACK, C::MENU_DOWN, C::MENU_CHOOSE})
        apply_command(game, command); // back on Keys, down to Help
    EXPECT_TRUE(game.help_shown && !menu_open(game));
    for (const C command : {C::MENU, C::MENU_BACK}) // back on the main screen: the game again
        apply_command(game, command);
    EXPECT_FALSE(menu_open(game) || game.help_shown) << "opening hides help";
    for (const C command : {C::MENU, C::MENU_UP, C::MENU_CHOOSE})
        apply_command(game, command);
    EXPECT_TRUE(game.quit_requested);

    Game editing;
    editing.edit_mode = EditMode::EDITING;
    apply_command(editing, C::MENU);
    EXPECT_FALSE(menu_open(editing));
}

TEST(Controls, RStartsAgainUTakesBackLaunchesHPointsAlongAShortestWay)
{
    const ScratchLevels scratch; // shortest +x -z +y -x, the first through the beamers; +z from the start is a dead end
    scratch.write("levels/1.lev", level_text(5, "0 0 0 5 1 0 0 2 3 0 2 2 4 0 2 1 3 0 0 1 3 4 1 1 0 3 1 6 0 0 4 1"));
    scratch.write("levels/2.lev", level_text(3, "1 1 1 5"));
    CommandedGame game;
    const auto now = [&] { return std::tuple(game.cubes, game.grid_position, game.flight_progress, game.level_number,
        view_index, vertical_heading, heading_axis, heading_sign, marker_matrix, launch_requested); };
    std::vector<decltype(now())> starts; // where each launch began, with the heading chosen
    for (const Command turn : {C::HINT, C::TURN_LEFT, C::HEAD_UP, C::HEAD_UP}) { // +x through the beamers, -z, +y, then into the cube above
        play(game, turn);
        starts.push_back(now());
        play(game, C::LAUNCH);
    }
    const auto top = now();
    ASSERT_EQ(game.grid_position, (Cell{3, 3, 1})) << show_level(*game.level_grid);
    starts.pop_back(); // a launch that moved nothing is not taken back
    play(game, C::UNDO);
    EXPECT_EQ(now(), starts[2]);
    play(game, C::LAUNCH);
    EXPECT_EQ(now(), top) << "launched again, the same rest";
    for (int back = 2; back >= -1; --back) { // starts[1] rests after the beamers, halfway into a step
        SCOPED_TRACE(back);
        play(game, C::UNDO);
        EXPECT_EQ(now(), starts[std::max(back, 0)]);
    }

    play(game, C::TURN_RIGHT);
    play(game, C::LAUNCH);
    const auto stuck = now();
    EXPECT_EQ(play(game, C::HINT), std::string(NO_WAY_LINE) + "\n");
    EXPECT_EQ(now(), stuck);
    ship_flying = true;
    for (const Command command : {C::RESTART, C::UNDO, C::HINT})
        apply_command(game, command);
    ship_flying = false;
    EXPECT_EQ(play(game, C::SHOW_HEADING), "");
    EXPECT_EQ(now(), stuck) << "keys pressed in flight are not answered later";

    // A flight out and R start the level again; U right after takes the restart back, launches and all.
    const auto where = [&] { return std::tuple(game.cubes, game.grid_position, game.flight_progress,
        game.level_number, game.aids.launches.size()); };
    const auto stuck_at = where();
    play(game, C::TURN_RIGHT);
    play(game, C::LAUNCH); // -x, out
    const auto built = where();
    EXPECT_NE(built, stuck_at);
    play(game, C::UNDO);
    EXPECT_EQ(where(), stuck_at) << "after flying out";
    play(game, C::RESTART);
    EXPECT_EQ(where(), built);
    play(game, C::UNDO);
    EXPECT_EQ(where(), stuck_at) << "after R";
    // A launch after the restart leaves it behind: U takes back that launch, and then nothing.
    for (const Command command : {C::RESTART, C::HINT, C::LAUNCH, C::UNDO, C::UNDO})
        play(game, command);
    EXPECT_EQ(where(), built);

    // H then Space, as often as the shortest way has launches; the heading is chosen as the keys choose it.
    game.events.clear();
    for (int launch = 1; launch <= 4; ++launch) {
        play(game, C::HINT);
        const int hinted = heading_axis * heading_sign;
        EXPECT_VEC_NEAR(marker_tip(), heading_vector());
        send(game, C::SHOW_HEADING);
        EXPECT_EQ(heading_axis * heading_sign, hinted);
        play(game, C::LAUNCH);
    }
    EXPECT_EQ(game.level_number, 2);
    const auto solved = std::find_if(game.events.begin(), game.events.end(),
        [](const WorldEvent& e) { return e.kind == WorldEventKind::SOLVED; });
    ASSERT_NE(solved, game.events.end());
    EXPECT_EQ(std::pair(solved->level, solved->launches), std::pair(1, 4));
    const auto next_level = where();
    play(game, C::UNDO);
    EXPECT_EQ(where(), next_level) << "the goal forgets the launches";
}

TEST(Controls, CommandsAloneSolveTheShippedFirstLevelByItsShortestWay)
{
    const ScratchLevels scratch;
    for (const char* file : {"levels/1.lev", "levels/2.lev"}) {
        std::ifstream shipped(std::string(TIRAK_DATA_DIR) + "/" + file);
        scratch.write(file, std::string(std::istreambuf_iterator<char>(shipped), {}));
    }
    CommandedGame game;
    for (const Command command : {C::LAUNCH, C::TURN_RIGHT, C::LAUNCH, C::TURN_RIGHT, C::LAUNCH, C::TURN_LEFT, C::LAUNCH})
        play(game, command);
    const auto solved = std::find_if(game.events.begin(), game.events.end(),
        [](const WorldEvent& e) { return e.kind == WorldEventKind::SOLVED; });
    ASSERT_NE(solved, game.events.end());
    EXPECT_EQ(std::pair(solved->level, solved->launches), std::pair(1, 4));
    EXPECT_EQ(game.level_number, 2);
}

TEST(Controls, TheEditorBuildsASolvableLevelAndPlayTestsIt)
{
    const ScratchLevels scratch;
    scratch.write("levels/1.lev", level_text(3, "0 0 0 5"));
    CommandedGame game;
    const auto status = [&] { return game.editor->editor.status(); };
    apply_command(game, C::EDIT);
    ASSERT_EQ(game.edit_mode, EditMode::EDITING);
    EXPECT_EQ(game.edit_cursor, (Cell{0, 0, 0})) << "on the ship";
    EXPECT_EQ(status().rfind("solvable", 0), std::string::npos) << status();
    // Seen from the start's corner, right is +x and nearer is +z.
    for (const Command command : {C::CURSOR_RIGHT, C::CURSOR_RIGHT, C::CURSOR_RIGHT, C::CURSOR_NEARER, C::PLACE_CUBE,
                                  C::CURSOR_AWAY, C::LAYER_UP, C::LAYER_DOWN, C::CURSOR_LEFT, C::PLACE_GOAL})
        send(game, command);
    EXPECT_EQ(game.edit_cursor, (Cell{1, 0, 0}));
    EXPECT_EQ(status().rfind("solvable: 1 launch", 0), 0u) << status();
    send(game, C::EDIT_UNDO);
    EXPECT_EQ(status().rfind("solvable", 0), std::string::npos) << status();
    send(game, C::EDIT_REDO);
    EXPECT_EQ(status().rfind("solvable: 1 launch", 0), 0u) << status();
    EXPECT_EQ(send(game, C::NEXT_LEVEL), "") << "no level select while editing";
    EXPECT_EQ(game.aids.level_choice, LevelChoice::NONE);

    // A play-test with the real rules: a flight out starts it again, the goal goes back to the editor.
    send(game, C::PLAY_TEST);
    ASSERT_EQ(game.edit_mode, EditMode::TESTING);
    play(game, C::NEXT_LEVEL);
    EXPECT_EQ(game.level_number, 1) << "no level select in a play-test";
    for (const Command command : {C::TURN_LEFT, C::LAUNCH, C::TURN_RIGHT})
        play(game, command);
    follow_play_test(game);
    EXPECT_EQ(game.edit_mode, EditMode::TESTING);
    game.events.clear();
    play(game, C::LAUNCH);
    follow_play_test(game);
    EXPECT_EQ(game.edit_mode, EditMode::EDITING);
    EXPECT_EQ(send(game, C::SAVE), "Saved levels/1.lev.\n");
    game.said.clear();
    apply_command(game, C::EDIT);
    EXPECT_EQ(game.edit_mode, EditMode::OFF);
    EXPECT_EQ(game.said, std::vector<std::string>{}) << "nothing left unsaved";
    EXPECT_EQ(game.par, 1);

    // A new level is the player's own, numbered apart from ours; solved, it
    // leads round their own set and counts in their own progress.
    apply_command(game, C::EDIT);
    send(game, C::NEW_LEVEL);
    EXPECT_EQ(send(game, C::SAVE), "Saved mylevels/1.lev.\n");
    apply_command(game, C::EDIT);
    for (const Command command : {C::HINT, C::LAUNCH})
        play(game, command);
    keep_progress(game);
    EXPECT_EQ(level_file_name(game.level_number, game.level_file_count, game.level_set), "mylevels/1.lev");
    EXPECT_EQ(file_text("mylevels/progress.inp").find("level_1 = 1\n") != std::string::npos, true);
    EXPECT_FALSE(std::filesystem::exists("progress.inp")) << "ours untouched";

    // Shared as a code: pasted, it is a new level of the player's own, saved at once.
    apply_command(game, C::EDIT);
    send(game, C::COPY_LEVEL);
    const std::string code = scripted::clipboard;
    EXPECT_EQ(send(game, C::PASTE_LEVEL), "Saved mylevels/2.lev.\n");
    EXPECT_EQ(file_text("mylevels/2.lev"), file_text("mylevels/1.lev"));
    scripted::clipboard = code.substr(0, code.size() / 2);
    EXPECT_EQ(send(game, C::PASTE_LEVEL),
              "The clipboard holds no level code to paste: it is cut short: characters are missing from its end.\n");
    EXPECT_EQ(game.editor->editor.draft().file_name, "mylevels/2.lev") << "nothing changed";

    // V shows the solver's view and hides it; the settings can keep it off the picture.
    std::vector<bool> shown;
    for (const bool allowed : {true, true, false}) {
        game.options.solver_view = allowed;
        send(game, C::SOLVER_VIEW);
        shown.push_back(game.solver_view_shown);
    }
    EXPECT_EQ(shown, (std::vector<bool>{true, false, false}));
    EXPECT_EQ(game.solver_marks, game.editor->editor.marks()) << "the marks of the level being edited";
}

TEST(Controls, LevelSelectStepsThroughTheOpenLevelsFirstAndFurthestGoToTheEnds)
{
    const ScratchLevels scratch;
    for (const char* file : {"levels/1.lev", "levels/2.lev", "levels/3.lev", "levels/4.lev"})
        scratch.write(file, level_text(3, "0 0 0 5 2 2 2 6"));
    constexpr Command UP = C::PREVIOUS_LEVEL, DOWN = C::NEXT_LEVEL, HOME = C::FIRST_LEVEL, END = C::FURTHEST_LEVEL;
    // The start level, the levels solved, then commands and the level each leaves the player at.
    struct Row { const char* name; int start; std::vector<int> solved; std::vector<std::pair<Command, int>> keys; };
    const Row rows[] = {
        {"a solved level opens the next, and no further", 1, {1},
         {{DOWN, 2}, {DOWN, 2}, {UP, 1}, {UP, 1}, {END, 2}, {HOME, 1}}},
        {"up to the start level all are open", 3, {}, {{DOWN, 2}, {DOWN, 3}, {DOWN, 3}, {HOME, 1}, {END, 3}}},
        {"a gap in the solved levels stops End", 1, {1, 3}, {{END, 2}, {DOWN, 2}}},
        {"every level solved: round and on", 1, {1, 2, 3, 4}, {{END, 4}, {DOWN, 5}, {DOWN, 6}, {HOME, 1}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CommandedGame game;
        game.start_level = row.start;
        for (const int level : row.solved)
            game.progress.record(level, 3);
        for (const auto& [key, level] : row.keys) {
            play(game, key);
            EXPECT_EQ(game.level_number, level) << "command " << static_cast<int>(key);
        }
    }

    // Chosen with R, U and H asked in the same frame, a level saved without a ship start is
    // built without one, to be edited; what else was asked waits.
    scratch.write("levels/2.lev", level_text(3, "2 2 2 6"));
    CommandedGame game;
    game.start_level = 2;
    for (const Command command : {DOWN, C::RESTART, C::UNDO, C::HINT})
        apply_command(game, command);
    update_world(game, 1.0 / 60);
    EXPECT_EQ(game.level_number, 2);
    EXPECT_EQ(game.ship_index, -1);
    EXPECT_EQ(game.unplayable, "it has no ship start (a cell with the value 5)");
}

// The text of a HUD frame, a line each.
std::string hud_text(const Hud& hud, const Game& game, double now)
{
    std::string text;
    for (const HudLine& line : hud.frame(game, now).lines)
        text += line.text + "\n";
    return text;
}

TEST(Hud, SaysWhichLevelWhatParHowItWentAndTheKeys)
{
    const ScratchLevels scratch; // level 1: +x +z; level 2: +x
    scratch.write("levels/1.lev", "name = Corner\n" + level_text(5, "0 0 0 5 4 0 0 1 3 0 2 6"));
    scratch.write("levels/2.lev", level_text(3, "0 0 0 5 2 0 0 6"));
    scratch.write("levels/3.lev", level_text(3, "0 0 0 5 2 0 0 6"));
    CommandedGame game;
    Hud hud;
    hud.update(game, 0.0);
    const std::string status = "Level 1 \u00b7 Corner \u00b7 0 launches \u00b7 par 2 \u00b7 F1 keys\n";
    EXPECT_EQ(hud_text(hud, game, 2.0), "Level 1\nCorner\npar 2\n" + status);
    game.help_shown = true; // F1's panel hides the card
    EXPECT_EQ(hud_text(hud, game, 2.0).find("Level 1\nCorner"), std::string::npos);
    game.help_shown = false;
    EXPECT_EQ(hud_text(hud, game, 4.0), status) << "the card has faded";
    // Each text size is taller than the one before; with the text off only F1's panel shows.
    std::vector<float> heights;
    for (const TextSize size : {TextSize::SMALL, TextSize::MEDIUM, TextSize::LARGE}) {
        game.options.text_size = size;
        heights.push_back(hud.frame(game, 4.0).lines.back().height);
        EXPECT_EQ(text_size_named(text_size_name(size)), size) << "as the settings write and read it";
    }
    EXPECT_EQ(text_size_named("huge"), std::nullopt);
    EXPECT_TRUE(heights[0] < heights[1] && heights[1] < heights[2]) << heights[0] << " " << heights[2];
    game.options.text_size = TextSize::MEDIUM;
    game.text_shown = false;
    EXPECT_EQ(hud_text(hud, game, 2.0), "");
    game.help_shown = true;
    EXPECT_NE(hud_text(hud, game, 2.0).find("Escape\nquit\n"), std::string::npos);
    game.help_shown = false;
    game.text_shown = true;

    play(game, C::LAUNCH);
    play(game, C::TURN_RIGHT);
    play(game, C::LAUNCH); // into the goal
    game.progress.record(1, 2);
    hud.update(game, 10.0);
    EXPECT_EQ(hud_text(hud, game, 10.5), "Level 1 solved in 2 launches (par 2) \u00b7 your best\nLevel 2\npar 1\n"
              "Level 2 \u00b7 0 launches \u00b7 par 1 \u00b7 F1 keys\n");
    game.events.clear();
    play(game, C::LAUNCH); // a launch fades the card at once
    hud.update(game, 11.0);
    EXPECT_EQ(hud_text(hud, game, 11.7).find("Level 2\n"), std::string::npos);
    play(game, C::HELP);
    EXPECT_NE(hud_text(hud, game, 12.0).find("A, D\nturn the heading"), std::string::npos);
    EXPECT_NE(hud_text(hud, game, 12.0).find("Escape\nquit\n"), std::string::npos);
    // The pad used last: its buttons, and the keys' chords for what it has none.
    player_input().pad_used_last = true;
    EXPECT_NE(hud_text(hud, game, 12.0).find("Back+LB, Back+RB\nlevel 1"), std::string::npos);
    EXPECT_NE(hud_text(hud, game, 12.0).find("F3\nwire frame"), std::string::npos);
    EXPECT_NE(hud_text(hud, game, 12.0).find("\u00b7 Back keys"), std::string::npos);
    player_input().pad_used_last = false;
    // A key of the player's: F1 shows it, and the messages name it.
    EXPECT_TRUE(player_input().keys.take_settings({{"key_launch", "Return"}}, KEY_SPELLING, "tirak.inp").empty());
    EXPECT_NE(hud_text(hud, game, 12.0).find("Return\nlaunch the ship"), std::string::npos);
    player_input().keys = InputBindings(default_key_bindings());
    play(game, C::HELP);

    game.progress.record(2, 1);
    Hud first; // the first card of a later run, at this level
    first.update(game, 0.0);
    EXPECT_EQ(hud_text(first, game, 0.0).rfind("End: continue at level 3\n", 0), 0u);

    // What is said stacks up, the newest lowest, each wrapped to the window by the text's measure.
    game.said = {std::string(60, 'a') + " " + std::string(60, 'b'), "short"};
    hud.update(game, 20.0);
    const TextWidth width = [](const std::string& text, float) { return 0.01f * static_cast<float>(text.size()); };
    std::vector<std::pair<std::string, float>> said;
    for (const HudLine& line : hud.frame(game, 20.0, width).lines)
        if (line.text == "short" || (line.text.size() == 60 && line.text.find_first_not_of(line.text[0]) == std::string::npos))
            said.emplace_back(line.text, line.at.y);
    ASSERT_EQ(said.size(), 3u);
    EXPECT_EQ(said[0].first + "|" + said[1].first + "|" + said[2].first,
              std::string(60, 'a') + "|" + std::string(60, 'b') + "|short");
    EXPECT_LT(said[0].second, said[1].second);
    EXPECT_LT(said[1].second, said[2].second);
}

TEST(Controls, F3SwitchesTheDrawModeF4TheSamplingF5TheMipmaps)
{
    constexpr Command F3 = C::TOGGLE_WIREFRAME, F4 = C::TOGGLE_SAMPLING, F5 = C::CYCLE_MIPMAPS;
    Game game;
    render_settings = RenderSettings{};
    mipmaps_enabled = false;
    mipmap_mode = 0;
    send(game, F3);
    EXPECT_EQ(render_settings.draw_mode, DRAW_LINE_LOOP);
    send(game, F3);
    EXPECT_EQ(render_settings.draw_mode, DRAW_TRIANGLES);

    constexpr uint32_t N = FILTER_NEAREST, L = FILTER_LINEAR, NN = FILTER_NEAREST_MIPMAP_NEAREST,
                       LN = FILTER_LINEAR_MIPMAP_NEAREST, NL = FILTER_NEAREST_MIPMAP_LINEAR,
                       LL = FILTER_LINEAR_MIPMAP_LINEAR;
    const char *const NEAREST = "TEXTURESAMPLING NEAREST\n", *const LINEAR = "TEXTURESAMPLING LINEAR\n",
               *const OFF = "MIPMAP OFF\n", *const MIP_NEAREST = "MIPMAP NEAREST\n", *const MIP_LINEAR = "MIPMAP LINEAR\n";
    // Every way through: mipmaps on keep the sampling, F4 keeps the mip selection, mipmaps off flip the sampling.
    const struct { Command key; const char* line; uint32_t min_filter, mag_filter; } steps[] = {
        {F5, MIP_NEAREST, LN, L}, {F5, MIP_LINEAR, LL, L}, {F5, OFF, N, N}, {F4, LINEAR, L, L}, {F4, NEAREST, N, N},
        {F5, MIP_NEAREST, NN, N}, {F4, LINEAR, LN, L}, {F4, NEAREST, NN, N}, {F5, MIP_LINEAR, NL, N},
        {F4, LINEAR, LL, L}, {F4, NEAREST, NL, N}, {F5, OFF, L, L},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE("step " + std::to_string(&step - steps + 1));
        EXPECT_EQ(send(game, step.key), step.line);
        EXPECT_EQ(render_settings.min_filter, step.min_filter);
        EXPECT_EQ(render_settings.mag_filter, step.mag_filter);
        EXPECT_EQ(mipmaps_enabled, step.min_filter >= NN);
    }
}

} // namespace
