#include "render/frame_damage.h"

#include "game/game.h"
#include "game/level_grid.h"
#include "transforms/camera.h"
#include "world/world_state.h"

#include <algorithm>

namespace {

// How far past its cell each moving thing may reach, in cells: a cloud's
// sprites are at most 0.09 cells across their centres' bounds; the goal's
// ring turns about the cell's upright axis, so its corners sweep out to
// 0.21 cells past the cell's sides.
constexpr float CLOUD_REACH = 0.1f;
constexpr float SPIN_REACH = 0.25f;

// What drawing a part of the window costs besides its pixels, in pixels:
// about what a software renderer fills while the scene's draws for one more
// pass are made. Parts nearer than that are drawn as one.
constexpr long PASS_PIXELS = 16384;
// Drawn in more parts than this, the draws' cost outweighs the pixels saved.
constexpr size_t MOST_PASSES = 4;

// Where each cloud and spin is now, in the order of the cells.
std::vector<ScreenRect> moving_parts(const Game& game)
{
    const glm::mat4 clip =
        make_projection(game.width, game.height) * game.view_matrix * make_world_translation(game.grid_size);
    std::vector<ScreenRect> moving;
    for (const glm::vec4& entry : game.cubes) {
        const int kind = static_cast<int>(entry.w);
        const float reach = kind == CELL_BEAMER ? CLOUD_REACH : kind == CELL_GOAL ? SPIN_REACH : -1.0f;
        if (reach < 0.0f)
            continue;
        const glm::vec3 cell(entry);
        moving.push_back(screen_rect_of_box(clip, cell - reach, cell + 1.0f + reach, game.width, game.height));
    }
    return moving;
}

bool same_settings(const RenderSettings& a, const RenderSettings& b)
{
    return a.draw_mode == b.draw_mode && a.min_filter == b.min_filter && a.mag_filter == b.mag_filter;
}

bool same_models(const std::vector<MeshRecord>& a, const std::vector<MeshRecord>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const MeshRecord& x, const MeshRecord& y) {
        return x.vertex_array == y.vertex_array && x.texture == y.texture && x.index_count == y.index_count;
    });
}

} // namespace

bool FrameDamage::Still::matches(const Game& game) const
{
    return camera == game.view_matrix && marker == marker_matrix && width == game.width &&
           height == game.height && grid_size == game.grid_size && ship_index == game.ship_index &&
           flying == ship_flying && edit_mode == game.edit_mode && same_settings(settings, render_settings) &&
           cells == game.cubes && cell_turns == game.cube_rotations && same_models(models, game.mesh_records);
}

void FrameDamage::Still::take(const Game& game)
{
    camera = game.view_matrix;
    marker = marker_matrix;
    width = game.width;
    height = game.height;
    grid_size = game.grid_size;
    ship_index = game.ship_index;
    flying = ship_flying;
    edit_mode = game.edit_mode;
    settings = render_settings;
    cells = game.cubes;
    cell_turns = game.cube_rotations;
    models = game.mesh_records;
}

std::vector<ScreenRect> FrameDamage::next(const Game& game, const std::vector<ScreenRect>& overlay_changed)
{
    const bool unchanged = known_ && last_.matches(game);
    if (!unchanged)
        last_.take(game);
    std::vector<ScreenRect> moving = moving_parts(game);

    // The editor's cursor breathes and its marks follow every edit; a
    // flying ship moves: those frames are drawn whole.
    const bool still = unchanged && !ship_flying && game.edit_mode != EditMode::EDITING;
    std::vector<ScreenRect> damage;
    if (still && moving.size() == last_moving_.size()) {
        // Each moving thing is drawn where it was and where it is now.
        for (size_t k = 0; k < moving.size(); ++k)
            damage.push_back(unite(moving[k], last_moving_[k]));
        damage.insert(damage.end(), overlay_changed.begin(), overlay_changed.end());
        damage = group_for_passes(std::move(damage), PASS_PIXELS, MOST_PASSES);
    } else {
        damage.push_back(whole_window(game.width, game.height));
    }
    last_moving_ = std::move(moving);
    known_ = true;
    return damage;
}
