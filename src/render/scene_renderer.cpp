#include "render/scene_renderer.h"

#include "game/game.h"
#include "particles/particle_system.h"
#include "platform/window.h"
#include "render/cell_instances.h"
#include "render/cursor_box.h"
#include "render/model_table.h"
#include "render/render_settings.h"
#include "render/solver_view.h"
#include "gl/shader_program.h"
#include "transforms/camera.h"
#include "world/world_state.h"

#include <GL/glew.h>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

#include <algorithm>
#include <cassert>
#include <vector>

// The render settings carry OpenGL's numbers without its header.
static_assert(DRAW_TRIANGLES == GL_TRIANGLES && DRAW_LINE_LOOP == GL_LINE_LOOP);
static_assert(FILTER_NEAREST == GL_NEAREST && FILTER_LINEAR == GL_LINEAR);
static_assert(FILTER_NEAREST_MIPMAP_NEAREST == GL_NEAREST_MIPMAP_NEAREST);
static_assert(FILTER_LINEAR_MIPMAP_NEAREST == GL_LINEAR_MIPMAP_NEAREST);
static_assert(FILTER_NEAREST_MIPMAP_LINEAR == GL_NEAREST_MIPMAP_LINEAR);
static_assert(FILTER_LINEAR_MIPMAP_LINEAR == GL_LINEAR_MIPMAP_LINEAR);

namespace {

// The walls stand this far outside the grid on every side, in cells, so
// that they never cut through a cube on the edge.
constexpr float WALL_MARGIN = 0.05f;

void upload(GLint location, const glm::mat4& matrix)
{
    glUniformMatrix4fv(location, 1, GL_FALSE, glm::value_ptr(matrix));
}

glm::mat4 place_in_cell(const glm::vec4& entry)
{
    return glm::translate(glm::mat4(1.0f), glm::vec3(entry));
}

// Binds a model's texture, sampled with the current render settings, and
// its vertex array.
const MeshRecord& bind_record(int record_index, const Game& game,
                              uint32_t min_filter = render_settings.min_filter)
{
    assert(record_index >= 0 && record_index < static_cast<int>(game.mesh_records.size()));
    const MeshRecord& record = game.mesh_records[record_index];
    glBindTexture(GL_TEXTURE_2D, record.texture);
    // Written at every draw, so that a key press reaches every texture.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLint>(render_settings.mag_filter));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<GLint>(min_filter));
    game.bind_vertex_array(record.vertex_array);
    return record;
}

// One indexed draw, its model matrix given to the program in use at
// `model_location`.
void draw_record(GLint model_location, const glm::mat4& model, int record_index, const Game& game,
                 uint32_t min_filter = render_settings.min_filter)
{
    upload(model_location, model);
    const MeshRecord& record = bind_record(record_index, game, min_filter);
    glDrawElements(render_settings.draw_mode, record.index_count, GL_UNSIGNED_INT, nullptr);
}

// Makes the sky and wall program current with this camera; returns where it
// takes the model matrix. Without that program the Phong program's unlit
// path draws them, as it always could.
GLint use_unlit_program(const Game& game, const glm::mat4& camera, const glm::mat4& projection,
                        const glm::mat4& world, GLuint phong_program)
{
    const UnlitProgram& unlit = game.unlit;
    if (unlit.program == 0) {
        glUseProgram(phong_program);
        upload(game.uniforms.camera_matrix, camera);
        glUniform1i(game.uniforms.lightning, 0);
        return game.uniforms.cubetranslation_matrix;
    }
    glUseProgram(unlit.program);
    upload(unlit.camera_matrix, camera);
    upload(unlit.projection_matrix, projection);
    upload(unlit.world_translation_matrix, world);
    return unlit.cubetranslation_matrix;
}

// The solid cells, nearest the eye first, so that what they hide fails the
// depth test before it is shaded. With a program that takes the cells'
// matrices, every cube is one instance of a single draw; the few ships and
// goals are drawn on their own.
void draw_cells(Game& game, bool instanced, const glm::mat4& camera, const glm::mat4& world,
                const glm::mat4& projection, const ScreenRect& part)
{
    CellInstances& cells = *game.cell_instances;
    // The eye of a camera matrix R|t sits at -R^T t; the cells are placed
    // before the world translation.
    const glm::vec3 eye =
        -(glm::transpose(glm::mat3(camera)) * glm::vec3(camera[3])) - glm::vec3(world[3]);
    const std::vector<uint32_t>* order = &cells.sort(game, eye);
    if (!(part == whole_window(game.width, game.height)))
        order = &cells.keep_within(game, projection * camera * world, part);
    const GLsizei cube_count = instanced ? cells.upload_cubes(game) : 0;
    if (cube_count > 0) {
        const MeshRecord& cube = bind_record(MODEL_CUBE, game);
        glUniform1i(cells.switch_location(), 1);
        glDrawElementsInstanced(render_settings.draw_mode, cube.index_count, GL_UNSIGNED_INT, nullptr, cube_count);
        glUniform1i(cells.switch_location(), 0);
    }
    for (uint32_t k : *order) {
        const glm::vec4& entry = game.cubes[k];
        const glm::mat4 placed = place_in_cell(entry);
        switch (static_cast<int>(entry.w)) {
        case CELL_CUBE:
            if (!instanced)
                draw_model(placed * game.cube_rotations[k], MODEL_CUBE, game);
            break;
        case CELL_SHIP_START:
            draw_model(placed, MODEL_SHIP, game);
            break;
        case CELL_GOAL:
            draw_model(placed, MODEL_GOAL, game);
            draw_model(placed * game.goal_spin_matrix, MODEL_GOAL_ROTATE, game);
            break;
        default:
            break;
        }
    }
}

} // namespace

UniformLocations find_uniform_locations(uint32_t program)
{
    UniformLocations found;
    found.camera_matrix = glGetUniformLocation(program, "camera_matrix");
    found.projection_matrix = glGetUniformLocation(program, "projection_matrix");
    found.world_translation_matrix = glGetUniformLocation(program, "world_translation_matrix");
    found.cubetranslation_matrix = glGetUniformLocation(program, "cubetranslation_matrix");
    found.Texture0 = glGetUniformLocation(program, "Texture0");
    found.lightning = glGetUniformLocation(program, "lightning");
    // The cells' matrix sampler must leave unit 0 before the first draw:
    // two samplers of different types on one unit make every draw fail.
    const GLint cell_matrices = glGetUniformLocation(program, CELL_MATRICES_UNIFORM);
    if (cell_matrices >= 0) {
        GLint in_use = 0;
        glGetIntegerv(GL_CURRENT_PROGRAM, &in_use);
        glUseProgram(program);
        glUniform1i(cell_matrices, CELL_MATRIX_UNIT);
        glUseProgram(static_cast<GLuint>(in_use));
    }
    return found;
}

void draw_model(glm::mat4 model, int record_index, const Game& game)
{
    draw_record(game.uniforms.cubetranslation_matrix, model, record_index, game);
}

void render_scene(const ShaderProgram& phong_program, Game& game)
{
    render_scene(phong_program, game, whole_window(game.width, game.height));
}

namespace {

enum class Clouds { STEP, STEPPED_AHEAD };

void draw_scene(const ShaderProgram& phong_program, Game& game, const ScreenRect& part, Clouds clouds);

} // namespace

void render_scene(const ShaderProgram& phong_program, Game& game, const ScreenRect& part)
{
    draw_scene(phong_program, game, part, Clouds::STEP);
}

void render_scene_pass(const ShaderProgram& phong_program, Game& game, const ScreenRect& part)
{
    draw_scene(phong_program, game, part, Clouds::STEPPED_AHEAD);
}

void step_clouds_ahead(Game& game)
{
    if (!game.particles)
        return;
    const auto beamers = std::count_if(game.cubes.begin(), game.cubes.end(), [](const glm::vec4& entry) {
        return static_cast<int>(entry.w) == CELL_BEAMER;
    });
    game.particles->step_ahead(static_cast<int>(beamers));
}

namespace {

void draw_scene(const ShaderProgram& phong_program, Game& game, const ScreenRect& part, Clouds clouds)
{
    const UniformLocations& u = game.uniforms;
    const glm::mat4 projection = make_projection(game.width, game.height);
    const glm::mat4 world = make_world_translation(game.grid_size);
    const glm::mat4& camera = game.view_matrix;

    glUseProgram(phong_program.program);
    upload(u.camera_matrix, camera);
    upload(u.projection_matrix, projection);
    upload(u.world_translation_matrix, world);
    if (!game.cell_instances)
        game.cell_instances = std::make_shared<CellInstances>();
    const bool instanced = game.cell_instances->use_program(phong_program.program);

    // Skybox: unlit, behind everything, turning with the camera but never
    // coming nearer. Its offset uses the integer half on purpose: odd grids
    // have always had the sky half a cell lower. Each face spans a quarter
    // turn of view, so on any window more than about 300 pixels tall its
    // texels are magnified everywhere and the minifying filter is never
    // used: sampling it with the magnifying one gives the same picture
    // without choosing mip levels for every pixel of the window.
    glDisable(GL_DEPTH_TEST);
    const float sky_offset = static_cast<float>(game.grid_size / 2);
    glm::mat4 rotation_only = camera;
    rotation_only[3] = glm::vec4(0.0f, 0.0f, 0.0f, rotation_only[3][3]);
    const GLint sky_model = use_unlit_program(game, rotation_only, projection, world, phong_program.program);
    glDisable(GL_FRAMEBUFFER_SRGB);
    draw_record(sky_model, glm::translate(glm::mat4(1.0f), glm::vec3(sky_offset)), MODEL_SKYBOX, game,
                render_settings.mag_filter);
    glEnable(GL_FRAMEBUFFER_SRGB);

    // Cells: lit and depth tested. Beamers are drawn as particles later, so
    // that the effect blends over the solid cells.
    glEnable(GL_DEPTH_TEST);
    glUseProgram(phong_program.program);
    glUniform1i(u.lightning, 1);
    upload(u.camera_matrix, camera);
    draw_cells(game, instanced, camera, world, projection, part);

    // The heading marker shows where the ship will go; a level that never
    // placed a ship has no marker to show.
    const bool ship_known = game.ship_index >= 0 &&
                            static_cast<size_t>(game.ship_index) < game.cubes.size();
    if (!ship_flying && ship_known)
        draw_model(place_in_cell(game.cubes[game.ship_index]) * marker_matrix, MODEL_CONE, game);
    glUseProgram(0);

    int cloud = 0;
    for (const glm::vec4& entry : game.cubes) {
        if (static_cast<int>(entry.w) != CELL_BEAMER)
            continue;
        if (clouds == Clouds::STEP)
            game.particles->update_and_draw(camera, projection, world, place_in_cell(entry));
        else
            game.particles->draw_kept(cloud++, camera, projection, world, place_in_cell(entry));
    }

    // Walls: unlit, blended over everything, seen from inside and outside.
    const GLint wall_model = use_unlit_program(game, camera, projection, world, phong_program.program);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_FALSE);
    glDisable(GL_CULL_FACE);
    const float span = static_cast<float>(game.grid_size) + 2.0f * WALL_MARGIN;
    const glm::mat4 walls = glm::translate(glm::mat4(1.0f), glm::vec3(-WALL_MARGIN)) *
                            glm::scale(glm::mat4(1.0f), glm::vec3(span));
    for (int wall = MODEL_FIRST_BOUND; wall <= MODEL_LAST_BOUND; ++wall)
        draw_record(wall_model, walls, wall, game);

    glEnable(GL_CULL_FACE);
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    if (game.edit_mode == EditMode::EDITING) {
        // Before the cursor, so that the cursor is drawn over the marks.
        if (game.solver_view_shown && game.solver_marks) {
            if (!game.solver_view)
                game.solver_view = std::make_shared<SolverView>();
            game.solver_view->draw(projection, camera, world, game.solver_marks, platform::get_time());
        }
        if (!game.cursor_box)
            game.cursor_box = std::make_shared<CursorBox>();
        game.cursor_box->draw(projection, camera, world, game.edit_cursor, platform::get_time());
    }
    if (game.unlit.program == 0)
        glUniform1i(u.lightning, 1);
    game.bind_vertex_array(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    glUseProgram(0);
}

} // namespace
