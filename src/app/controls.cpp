#include "app/controls.h"

#include "app/letter_keys.h"
#include "game/game.h"
#include "platform/window.h"
#include "render/render_settings.h"
#include "world/world_state.h"

#include <iostream>

bool mipmaps_enabled = false;
int mipmap_mode = 0;

namespace {

constexpr int MIPMAP_MODES = 3;
constexpr int MIPMAP_OFF = 0;
constexpr int MIPMAP_NEAREST = 1;
constexpr int MIPMAP_LINEAR = 2;

void say(const char* line)
{
    std::cout << line << std::endl;
}

void set_filters(uint32_t min_filter, uint32_t mag_filter)
{
    render_settings.min_filter = min_filter;
    render_settings.mag_filter = mag_filter;
}

// F4: swap nearest and linear texel sampling, keeping how mip levels are
// chosen.
void toggle_sampling()
{
    const uint32_t min = render_settings.min_filter;
    if (mipmaps_enabled) {
        if (min == FILTER_NEAREST_MIPMAP_LINEAR) {
            set_filters(FILTER_LINEAR_MIPMAP_LINEAR, FILTER_LINEAR);
            say("TEXTURESAMPLING LINEAR");
        } else if (min == FILTER_NEAREST_MIPMAP_NEAREST) {
            set_filters(FILTER_LINEAR_MIPMAP_NEAREST, FILTER_LINEAR);
            say("TEXTURESAMPLING LINEAR");
        } else if (min == FILTER_LINEAR_MIPMAP_LINEAR) {
            set_filters(FILTER_NEAREST_MIPMAP_LINEAR, FILTER_NEAREST);
            say("TEXTURESAMPLING NEAREST");
        } else {
            set_filters(FILTER_NEAREST_MIPMAP_NEAREST, FILTER_NEAREST);
            say("TEXTURESAMPLING NEAREST");
        }
    } else if (min == FILTER_NEAREST) {
        set_filters(FILTER_LINEAR, FILTER_LINEAR);
        say("TEXTURESAMPLING LINEAR");
    } else {
        set_filters(FILTER_NEAREST, FILTER_NEAREST);
        say("TEXTURESAMPLING NEAREST");
    }
}

// F5: off, nearest mip level, linear between mip levels. Switching mipmaps
// on keeps the sampling; switching them off from linear mip selection
// flips it, as the game always has.
void cycle_mipmap_mode()
{
    const uint32_t min = render_settings.min_filter;
    mipmap_mode = (mipmap_mode + 1) % MIPMAP_MODES;
    switch (mipmap_mode) {
    case MIPMAP_OFF:
        mipmaps_enabled = false;
        if (min == FILTER_NEAREST_MIPMAP_LINEAR)
            set_filters(FILTER_LINEAR, FILTER_LINEAR);
        else
            set_filters(FILTER_NEAREST, FILTER_NEAREST);
        say("MIPMAP OFF");
        break;
    case MIPMAP_NEAREST:
        mipmaps_enabled = true;
        if (min == FILTER_NEAREST)
            set_filters(FILTER_NEAREST_MIPMAP_NEAREST, FILTER_NEAREST);
        else
            set_filters(FILTER_LINEAR_MIPMAP_NEAREST, FILTER_LINEAR);
        say("MIPMAP NEAREST");
        break;
    case MIPMAP_LINEAR:
        mipmaps_enabled = true;
        if (min == FILTER_NEAREST_MIPMAP_NEAREST)
            set_filters(FILTER_NEAREST_MIPMAP_LINEAR, FILTER_NEAREST);
        else
            set_filters(FILTER_LINEAR_MIPMAP_LINEAR, FILTER_LINEAR);
        say("MIPMAP LINEAR");
        break;
    }
}

// R, U, H and level select ask the game; the next frame answers.
bool* request_for(Game* game, int key)
{
    if (game == nullptr)
        return nullptr;
    switch (key) {
    case KEY_R: return &game->aids.restart_requested;
    case KEY_U: return &game->aids.undo_requested;
    case KEY_H: return &game->aids.hint_requested;
    default: return nullptr;
    }
}

LevelChoice level_choice_for(int key)
{
    switch (key) {
    case platform::KEY_PAGEUP: return LevelChoice::PREVIOUS;
    case platform::KEY_PAGEDOWN: return LevelChoice::NEXT;
    case platform::KEY_HOME: return LevelChoice::FIRST;
    case platform::KEY_END: return LevelChoice::FURTHEST;
    default: return LevelChoice::NONE;
    }
}

void handle_press(int key)
{
    Game* game = static_cast<Game*>(platform::get_user_pointer());
    if (bool* request = request_for(game, key))
        *request = true;
    if (const LevelChoice choice = level_choice_for(key); game != nullptr && choice != LevelChoice::NONE)
        game->aids.level_choice = choice;
    switch (key) {
    case KEY_D:
        view_index = (view_index + 1) % VIEW_COUNT;
        vertical_heading = 0;
        break;
    case KEY_A:
        view_index = view_index - 1;
        if (view_index < 0)
            view_index = VIEW_COUNT - 1;
        vertical_heading = 0;
        break;
    case KEY_W:
        vertical_heading = +1;
        break;
    case KEY_S:
        vertical_heading = -1;
        break;
    case platform::KEY_SPACE:
        launch_requested = true;
        break;
    case platform::KEY_F1:
        if (Game* game = static_cast<Game*>(platform::get_user_pointer()))
            game->help_shown = !game->help_shown;
        break;
    case platform::KEY_F3:
        render_settings.draw_mode =
            render_settings.draw_mode == DRAW_TRIANGLES ? DRAW_LINE_LOOP : DRAW_TRIANGLES;
        break;
    case platform::KEY_F4:
        toggle_sampling();
        break;
    case platform::KEY_F5:
        cycle_mipmap_mode();
        break;
    }
}

} // namespace

void on_key(int key, int action)
{
    // The sound can go quiet at any moment: muting changes nothing in the
    // world.
    if (action == platform::PRESS && key == KEY_M)
        if (Game* game = static_cast<Game*>(platform::get_user_pointer()))
            game->sound_muted = !game->sound_muted;

    // The heading cannot change under a flying ship.
    if (ship_flying)
        return;

    if (action == platform::PRESS)
        handle_press(key);

    // Every event that got this far re-derives the heading, so after a new
    // level (which points the ship along +x) any key brings back the
    // heading the player chose.
    apply_chosen_heading();
}
