#include "app/key_map.h"

#include "app/letter_keys.h"
#include "platform/window.h"

namespace {

Command play_command(int key)
{
    switch (key) {
    case KEY_A: return Command::TURN_LEFT;
    case KEY_D: return Command::TURN_RIGHT;
    case KEY_W: return Command::HEAD_UP;
    case KEY_S: return Command::HEAD_DOWN;
    case platform::KEY_SPACE: return Command::LAUNCH;
    case KEY_R: return Command::RESTART;
    case KEY_U: return Command::UNDO;
    case KEY_H: return Command::HINT;
    case platform::KEY_PAGEUP: return Command::PREVIOUS_LEVEL;
    case platform::KEY_PAGEDOWN: return Command::NEXT_LEVEL;
    case platform::KEY_HOME: return Command::FIRST_LEVEL;
    case platform::KEY_END: return Command::FURTHEST_LEVEL;
    case KEY_M: return Command::MUTE;
    case KEY_E: return Command::EDIT;
    case platform::KEY_F1: return Command::HELP;
    case platform::KEY_F3: return Command::TOGGLE_WIREFRAME;
    case platform::KEY_F4: return Command::TOGGLE_SAMPLING;
    case platform::KEY_F5: return Command::CYCLE_MIPMAPS;
    default: return Command::SHOW_HEADING;
    }
}

std::optional<Command> editing_command(int key, bool ctrl)
{
    if (ctrl) {
        switch (key) {
        case KEY_Z: return Command::EDIT_UNDO;
        case KEY_Y: return Command::EDIT_REDO;
        case KEY_S: return Command::SAVE;
        case KEY_N: return Command::NEW_LEVEL;
        default: return std::nullopt;
        }
    }
    switch (key) {
    case platform::KEY_UP: return Command::CURSOR_AWAY;
    case platform::KEY_DOWN: return Command::CURSOR_NEARER;
    case platform::KEY_RIGHT: return Command::CURSOR_RIGHT;
    case platform::KEY_LEFT: return Command::CURSOR_LEFT;
    case platform::KEY_PAGEUP: return Command::LAYER_UP;
    case platform::KEY_PAGEDOWN: return Command::LAYER_DOWN;
    case '1': return Command::PLACE_CUBE;
    case '2': return Command::PLACE_BEAMER;
    case '5': return Command::PLACE_SHIP_START;
    case '6': return Command::PLACE_GOAL;
    case '0':
    case platform::KEY_DEL: return Command::EMPTY_CELL;
    case '=':
    case '+': return Command::GROW;
    case '-': return Command::SHRINK;
    case KEY_E: return Command::EDIT;
    case platform::KEY_TAB: return Command::PLAY_TEST;
    default: return std::nullopt;
    }
}

// Keys that keep their meaning in the editor: help, the picture, the sound.
bool shared_with_play(int key)
{
    return key == platform::KEY_F1 || key == platform::KEY_F3 || key == platform::KEY_F4 ||
           key == platform::KEY_F5 || key == KEY_M;
}

bool level_select_key(int key)
{
    return key == platform::KEY_PAGEUP || key == platform::KEY_PAGEDOWN || key == platform::KEY_HOME ||
           key == platform::KEY_END;
}

} // namespace

std::optional<Command> KeyMap::command_for(int key, int action, EditMode mode)
{
    if (key == platform::KEY_LCTRL)
        left_ctrl_down_ = action == platform::PRESS;
    if (key == platform::KEY_RCTRL)
        right_ctrl_down_ = action == platform::PRESS;

    const bool press = action == platform::PRESS;
    if (mode == EditMode::EDITING && !shared_with_play(key))
        return press ? editing_command(key, left_ctrl_down_ || right_ctrl_down_) : std::nullopt;
    if (mode == EditMode::TESTING && press) {
        if (key == KEY_E || key == platform::KEY_TAB)
            return Command::EDIT;
        // The level under test is the only one: no level select.
        if (level_select_key(key))
            return std::nullopt;
    }
    return press ? play_command(key) : Command::SHOW_HEADING;
}
