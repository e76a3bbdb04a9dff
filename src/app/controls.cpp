#include "app/controls.h"

#include "app/editor_controls.h"
#include "app/input_names.h"
#include "app/key_map.h"
#include "app/menu_controls.h"
#include "app/pad_map.h"
#include "app/player_input.h"
#include "game/command_names.h"
#include "game/game.h"
#include "platform/window.h"
#include "render/render_settings.h"
#include "world/world_state.h"

#include <cstdint>
#include <iostream>
#include <optional>

bool mipmaps_enabled = false;
int mipmap_mode = 0;

namespace {

constexpr int MIPMAP_MODES = 3;
constexpr int MIPMAP_OFF = 0;
constexpr int MIPMAP_NEAREST = 1;
constexpr int MIPMAP_LINEAR = 2;

// How far the pad takes the camera: degrees down from straight above, and
// cells from the level's centre.
constexpr float PAD_POLAR_LEAST = 5.0f;
constexpr float PAD_POLAR_MOST = 175.0f;
constexpr float PAD_NEAREST = 2.0f;
constexpr float PAD_FARTHEST = 60.0f;

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

LevelChoice level_choice_for(Command command)
{
    switch (command) {
    case Command::PREVIOUS_LEVEL: return LevelChoice::PREVIOUS;
    case Command::NEXT_LEVEL: return LevelChoice::NEXT;
    case Command::FIRST_LEVEL: return LevelChoice::FIRST;
    case Command::FURTHEST_LEVEL: return LevelChoice::FURTHEST;
    default: return LevelChoice::NONE;
    }
}

std::optional<int32_t> content_for(Command command)
{
    switch (command) {
    case Command::PLACE_CUBE: return CELL_CUBE;
    case Command::PLACE_BEAMER: return CELL_BEAMER;
    case Command::PLACE_SHIP_START: return CELL_SHIP_START;
    case Command::PLACE_GOAL: return CELL_GOAL;
    case Command::EMPTY_CELL: return CELL_EMPTY;
    default: return std::nullopt;
    }
}

std::optional<CursorMove> cursor_move_for(Command command)
{
    switch (command) {
    case Command::CURSOR_AWAY: return CursorMove::AWAY;
    case Command::CURSOR_NEARER: return CursorMove::NEARER;
    case Command::CURSOR_RIGHT: return CursorMove::RIGHT;
    case Command::CURSOR_LEFT: return CursorMove::LEFT;
    case Command::LAYER_UP: return CursorMove::UP;
    case Command::LAYER_DOWN: return CursorMove::DOWN;
    default: return std::nullopt;
    }
}

void edit(Game& game, Command command)
{
    if (const std::optional<CursorMove> move = cursor_move_for(command)) {
        move_edit_cursor(game, *move);
        return;
    }
    if (const std::optional<int32_t> content = content_for(command)) {
        place_at_cursor(game, *content);
        return;
    }
    switch (command) {
    case Command::GROW: resize_level(game, +1); break;
    case Command::SHRINK: resize_level(game, -1); break;
    case Command::EDIT_UNDO: step_edit_history(game, false); break;
    case Command::EDIT_REDO: step_edit_history(game, true); break;
    case Command::SAVE: save_level(game); break;
    case Command::NEW_LEVEL: new_level(game); break;
    case Command::EDIT: close_editor(game); break;
    case Command::PLAY_TEST: play_test(game); break;
    case Command::COPY_LEVEL: copy_level(game); break;
    case Command::PASTE_LEVEL: paste_level(game); break;
    case Command::SOLVER_VIEW: toggle_solver_view(game); break;
    default: break;
    }
}

void play(Game& game, Command command)
{
    // The sound can go quiet at any moment: muting changes nothing in the
    // world.
    if (command == Command::MUTE)
        game.sound_muted = !game.sound_muted;

    // The heading cannot change under a flying ship.
    if (ship_flying)
        return;

    if (const LevelChoice choice = level_choice_for(command); choice != LevelChoice::NONE)
        game.aids.level_choice = choice;
    switch (command) {
    case Command::EDIT:
        open_editor(game);
        return;
    case Command::TURN_RIGHT:
        view_index = (view_index + 1) % VIEW_COUNT;
        vertical_heading = 0;
        break;
    case Command::TURN_LEFT:
        view_index = view_index - 1;
        if (view_index < 0)
            view_index = VIEW_COUNT - 1;
        vertical_heading = 0;
        break;
    case Command::HEAD_UP:
        vertical_heading = +1;
        break;
    case Command::HEAD_DOWN:
        vertical_heading = -1;
        break;
    case Command::LAUNCH:
        launch_requested = true;
        break;
    // R, U, H and level select ask the game; the next frame answers.
    case Command::RESTART:
        game.aids.restart_requested = true;
        break;
    case Command::UNDO:
        game.aids.undo_requested = true;
        break;
    case Command::HINT:
        game.aids.hint_requested = true;
        break;
    case Command::HELP:
        game.help_shown = !game.help_shown;
        break;
    case Command::TOGGLE_WIREFRAME:
        render_settings.draw_mode = render_settings.draw_mode == DRAW_TRIANGLES ? DRAW_LINE_LOOP : DRAW_TRIANGLES;
        break;
    case Command::TOGGLE_SAMPLING:
        toggle_sampling();
        break;
    case Command::CYCLE_MIPMAPS:
        cycle_mipmap_mode();
        break;
    default:
        break;
    }

    // Every command that got this far re-derives the heading, so after a
    // new level (which points the ship along +x) any key brings back the
    // heading the player chose.
    apply_chosen_heading();
}

} // namespace

void apply_command(Game& game, Command command)
{
    if (command == Command::TOGGLE_WHOLE_SCREEN) {
        switch_whole_screen(game);
        return;
    }
    // The menu's own, and while it is open everything but the sound.
    if (command == Command::MENU || menu_command(command) || menu_open(game)) {
        if (command == Command::MUTE)
            game.sound_muted = !game.sound_muted;
        else
            answer_menu(game, command);
        return;
    }
    switch (game.edit_mode) {
    case EditMode::EDITING:
        if (editor_command(command) || command == Command::EDIT) {
            edit(game, command);
            return;
        }
        if (!kept_in_editor(command))
            return;
        break;
    case EditMode::TESTING:
        if (command == Command::EDIT || command == Command::PLAY_TEST) {
            back_to_editing(game);
            return;
        }
        // The level under test is the only one: no level select.
        if (level_choice_for(command) != LevelChoice::NONE)
            return;
        break;
    case EditMode::OFF:
        break;
    }
    if (!editor_command(command))
        play(game, command);
}

void on_key(int key, int action)
{
    // Program-wide, as the keys' own state is: Ctrl held is the keyboard's.
    static KeyMap keyboard;
    Game* game = static_cast<Game*>(platform::get_user_pointer());
    if (game == nullptr)
        return;
    PlayerInput& input = player_input();
    if (awaiting_binding(*game)) {
        if (const std::optional<Chord> chord = keyboard.chord_for(key, action)) {
            input.pad_used_last = false;
            bind_from_menu(*game, *chord, KEY_SPELLING, input.keys);
        }
        return;
    }
    const std::optional<Command> command =
        keyboard.command_for(key, action, game->edit_mode, input.keys, menu_open(*game));
    if (action == platform::PRESS)
        input.pad_used_last = false;
    if (command)
        apply_command(*game, *command);
}

void on_pad(Game& game, const platform::PadState& pad, double seconds)
{
    static PadMap map;
    PlayerInput& input = player_input();
    if (awaiting_binding(game)) {
        const std::vector<Chord> chords = map.chords_for(pad);
        if (!chords.empty()) {
            input.pad_used_last = true;
            bind_from_menu(game, chords.front(), PAD_SPELLING, input.pad);
        }
        return;
    }
    const std::vector<Command> commands = map.commands_for(pad, game.edit_mode, input.pad, menu_open(game));
    if (!commands.empty())
        input.pad_used_last = true;
    for (const Command command : commands)
        apply_command(game, command);

    const PadCamera camera = map.camera_for(pad, game.edit_mode, seconds);
    if (game.paused || (camera.azimuth == 0.0f && camera.polar == 0.0f && camera.nearer == 0.0f))
        return;
    input.pad_used_last = true;
    game.camera_azimuth += camera.azimuth;
    // Short of the poles, where the view has no up; a camera the mouse took
    // nearer one is not pulled back by the stick.
    const float polar = game.camera_polar + camera.polar;
    if ((camera.polar > 0.0f && polar <= PAD_POLAR_MOST) || (camera.polar < 0.0f && polar >= PAD_POLAR_LEAST))
        game.camera_polar = polar;
    const float distance = game.camera_distance - camera.nearer;
    if ((camera.nearer > 0.0f && distance >= PAD_NEAREST) || (camera.nearer < 0.0f && distance <= PAD_FARTHEST))
        game.camera_distance = distance;
    game.update_camera();
}
