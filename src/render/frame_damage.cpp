#include "render/frame_damage.h"

#include "game/game.h"
#include "game/level_grid.h"
#include "transforms/camera.h"
#include "world/world_state.h"

namespace {

// How far past its cell each moving thing may reach, in cells: a cloud's
// sprites are at most 0.09 cells across their centres' bounds; the goal's
// ring turns about the cell's upright axis, so its corners sweep out to
// 0.21 cells past the cell's sides.
constexpr float CLOUD_REACH = 0.1f;
constexpr float SPIN_REACH = 0.25f;

ScreenRect moving_parts(const Game& game)
{
    const glm::mat4 clip =
        make_projection(game.width, game.height) * game.view_matrix * make_world_translation(game.grid_size);
    ScreenRect moving;
    for (const glm::vec4& entry : game.cubes) {
        const int kind = static_cast<int>(entry.w);
        const float reach = kind == CELL_BEAMER ? CLOUD_REACH : kind == CELL_GOAL ? SPIN_REACH : -1.0f;
        if (reach < 0.0f)
            continue;
        const glm::vec3 cell(entry);
        moving = unite(moving, screen_rect_of_box(clip, cell - reach, cell + 1.0f + reach, game.width, game.height));
    }
    return moving;
}

bool same_settings(const RenderSettings& a, const RenderSettings& b)
{
    return a.draw_mode == b.draw_mode && a.min_filter == b.min_filter && a.mag_filter == b.mag_filter;
}

} // namespace

bool FrameDamage::Still::operator==(const Still& other) const
{
    return camera == other.camera && marker == other.marker && width == other.width && height == other.height &&
           grid_size == other.grid_size && ship_index == other.ship_index && flying == other.flying &&
           edit_mode == other.edit_mode && same_settings(settings, other.settings) && cells == other.cells &&
           cell_turns == other.cell_turns && models == other.models;
}

ScreenRect FrameDamage::next(const Game& game, const ScreenRect& overlay_changed)
{
    Still now;
    now.camera = game.view_matrix;
    now.marker = marker_matrix;
    now.width = game.width;
    now.height = game.height;
    now.grid_size = game.grid_size;
    now.ship_index = game.ship_index;
    now.flying = ship_flying;
    now.edit_mode = game.edit_mode;
    now.settings = render_settings;
    now.cells = game.cubes;
    now.cell_turns = game.cube_rotations;
    for (const MeshRecord& record : game.mesh_records)
        now.models.insert(now.models.end(),
                          {record.vertex_array, record.texture, static_cast<uint32_t>(record.index_count)});
    const ScreenRect moving = moving_parts(game);

    // The editor's cursor breathes and its marks follow every edit; a
    // flying ship moves: those frames are drawn whole.
    const bool still = known_ && !now.flying && now.edit_mode != EditMode::EDITING && now == last_;
    const ScreenRect damage = still ? unite(unite(moving, last_moving_), overlay_changed)
                                    : whole_window(game.width, game.height);
    last_ = std::move(now);
    last_moving_ = moving;
    known_ = true;
    return damage;
}
