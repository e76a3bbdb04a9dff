#include "app/player_input.h"

#include "app/input_names.h"
#include "app/letter_keys.h"
#include "platform/window.h"

const std::vector<Binding>& default_key_bindings()
{
    using C = Command;
    using namespace platform;
    static const std::vector<Binding> keys = {
        {C::TURN_LEFT, {KEY_A}}, {C::TURN_RIGHT, {KEY_D}}, {C::HEAD_UP, {KEY_W}}, {C::HEAD_DOWN, {KEY_S}},
        {C::LAUNCH, {KEY_SPACE}}, {C::RESTART, {KEY_R}}, {C::UNDO, {KEY_U}}, {C::HINT, {KEY_H}},
        {C::PREVIOUS_LEVEL, {KEY_PAGEUP}}, {C::NEXT_LEVEL, {KEY_PAGEDOWN}}, {C::FIRST_LEVEL, {KEY_HOME}},
        {C::FURTHEST_LEVEL, {KEY_END}}, {C::MUTE, {KEY_M}}, {C::EDIT, {KEY_E}}, {C::HELP, {KEY_F1}},
        {C::TOGGLE_WIREFRAME, {KEY_F3}}, {C::TOGGLE_SAMPLING, {KEY_F4}}, {C::CYCLE_MIPMAPS, {KEY_F5}},
        {C::CURSOR_AWAY, {KEY_UP}}, {C::CURSOR_NEARER, {KEY_DOWN}}, {C::CURSOR_RIGHT, {KEY_RIGHT}},
        {C::CURSOR_LEFT, {KEY_LEFT}}, {C::LAYER_UP, {KEY_PAGEUP}}, {C::LAYER_DOWN, {KEY_PAGEDOWN}},
        {C::PLACE_CUBE, {'1'}}, {C::PLACE_BEAMER, {'2'}}, {C::PLACE_SHIP_START, {'5'}}, {C::PLACE_GOAL, {'6'}},
        {C::EMPTY_CELL, {'0'}}, {C::EMPTY_CELL, {KEY_DEL}}, {C::GROW, {'='}}, {C::GROW, {'+'}}, {C::SHRINK, {'-'}},
        {C::EDIT_UNDO, {KEY_Z, true}}, {C::EDIT_REDO, {KEY_Y, true}}, {C::SAVE, {KEY_S, true}},
        {C::NEW_LEVEL, {KEY_N, true}}, {C::PLAY_TEST, {KEY_TAB}}, {C::COPY_LEVEL, {KEY_C, true}},
        {C::PASTE_LEVEL, {KEY_V, true}}, {C::SOLVER_VIEW, {KEY_V}},
        {C::TOGGLE_WHOLE_SCREEN, {KEY_F1 + 10}}, {C::MENU, {KEY_F1 + 1}}, {C::MENU_UP, {KEY_UP}}, {C::MENU_UP, {KEY_W}}, {C::MENU_DOWN, {KEY_DOWN}},
        {C::MENU_DOWN, {KEY_S}}, {C::MENU_LEFT, {KEY_LEFT}}, {C::MENU_LEFT, {KEY_A}}, {C::MENU_RIGHT, {KEY_RIGHT}},
        {C::MENU_RIGHT, {KEY_D}}, {C::MENU_CHOOSE, {KEY_ENTER}}, {C::MENU_CHOOSE, {KEY_SPACE}},
        {C::MENU_BACK, {KEY_BACKSPACE}},
    };
    return keys;
}

const std::vector<Binding>& default_pad_bindings()
{
    using C = Command;
    using namespace platform;
    static const std::vector<Binding> pad = {
        {C::TURN_LEFT, {PAD_DPAD_LEFT}}, {C::TURN_LEFT, {PAD_STICK_LEFT}},
        {C::TURN_RIGHT, {PAD_DPAD_RIGHT}}, {C::TURN_RIGHT, {PAD_STICK_RIGHT}},
        {C::HEAD_UP, {PAD_DPAD_UP}}, {C::HEAD_UP, {PAD_STICK_UP}},
        {C::HEAD_DOWN, {PAD_DPAD_DOWN}}, {C::HEAD_DOWN, {PAD_STICK_DOWN}},
        {C::LAUNCH, {PAD_A}}, {C::UNDO, {PAD_B}}, {C::HINT, {PAD_X}}, {C::RESTART, {PAD_Y}},
        {C::PREVIOUS_LEVEL, {PAD_LEFT_BUMPER}}, {C::NEXT_LEVEL, {PAD_RIGHT_BUMPER}},
        {C::FIRST_LEVEL, {PAD_LEFT_BUMPER, true}}, {C::FURTHEST_LEVEL, {PAD_RIGHT_BUMPER, true}},
        {C::HELP, {PAD_BACK}}, {C::EDIT, {PAD_START, true}}, {C::MUTE, {PAD_LEFT_THUMB}},
        {C::CURSOR_LEFT, {PAD_DPAD_LEFT}}, {C::CURSOR_LEFT, {PAD_STICK_LEFT}},
        {C::CURSOR_RIGHT, {PAD_DPAD_RIGHT}}, {C::CURSOR_RIGHT, {PAD_STICK_RIGHT}},
        {C::CURSOR_AWAY, {PAD_DPAD_UP}}, {C::CURSOR_AWAY, {PAD_STICK_UP}},
        {C::CURSOR_NEARER, {PAD_DPAD_DOWN}}, {C::CURSOR_NEARER, {PAD_STICK_DOWN}},
        {C::LAYER_DOWN, {PAD_LEFT_BUMPER}}, {C::LAYER_UP, {PAD_RIGHT_BUMPER}},
        {C::PLACE_CUBE, {PAD_A}}, {C::EMPTY_CELL, {PAD_B}}, {C::PLACE_BEAMER, {PAD_X}}, {C::PLACE_GOAL, {PAD_Y}},
        {C::PLACE_SHIP_START, {PAD_RIGHT_THUMB}},
        {C::EDIT_UNDO, {PAD_LEFT_TRIGGER_PULLED}}, {C::EDIT_REDO, {PAD_RIGHT_TRIGGER_PULLED}},
        {C::SAVE, {PAD_A, true}}, {C::NEW_LEVEL, {PAD_Y, true}}, {C::PLAY_TEST, {PAD_X, true}},
        {C::SOLVER_VIEW, {PAD_B, true}}, {C::COPY_LEVEL, {PAD_LEFT_BUMPER, true}},
        {C::PASTE_LEVEL, {PAD_RIGHT_BUMPER, true}},
        {C::GROW, {PAD_DPAD_UP, true}}, {C::SHRINK, {PAD_DPAD_DOWN, true}},
        {C::MENU, {PAD_START}}, {C::MENU_UP, {PAD_DPAD_UP}}, {C::MENU_UP, {PAD_STICK_UP}},
        {C::MENU_DOWN, {PAD_DPAD_DOWN}}, {C::MENU_DOWN, {PAD_STICK_DOWN}}, {C::MENU_LEFT, {PAD_DPAD_LEFT}},
        {C::MENU_LEFT, {PAD_STICK_LEFT}}, {C::MENU_RIGHT, {PAD_DPAD_RIGHT}}, {C::MENU_RIGHT, {PAD_STICK_RIGHT}},
        {C::MENU_CHOOSE, {PAD_A}}, {C::MENU_BACK, {PAD_B}},
    };
    return pad;
}

PlayerInput& player_input()
{
    static PlayerInput input;
    return input;
}

std::vector<std::string> take_binding_settings(const SettingLines& lines, const std::string& file_name)
{
    PlayerInput& input = player_input();
    std::vector<std::string> problems = input.keys.take_settings(lines, KEY_SPELLING, file_name);
    for (std::string& problem : input.pad.take_settings(lines, PAD_SPELLING, file_name))
        problems.push_back(std::move(problem));
    return problems;
}

namespace {

const InputBindings& shown_bindings()
{
    const PlayerInput& input = player_input();
    return input.pad_used_last ? input.pad : input.keys;
}

// The command's chords as the screen shows them: the pad's while it was used
// last, and the keyboard's for a command the pad has none for.
std::vector<std::string> shown_labels(Command command)
{
    const PlayerInput& input = player_input();
    std::vector<std::string> labels;
    if (input.pad_used_last)
        for (const Chord& chord : input.pad.chords_for(command))
            labels.push_back(pad_label(chord));
    if (labels.empty())
        for (const Chord& chord : input.keys.chords_for(command))
            labels.push_back(key_label(chord));
    return labels;
}

} // namespace

std::string shown_chord(Command command)
{
    const std::vector<std::string> labels = shown_labels(command);
    return labels.empty() ? "none" : labels.front();
}

std::string shown_chords(const std::vector<Command>& commands)
{
    std::string text;
    for (const Command command : commands)
        for (const std::string& label : shown_labels(command))
            text += (text.empty() ? "" : ", ") + label;
    return text.empty() ? "none" : text;
}

bool shown_unchanged(const std::vector<Command>& commands)
{
    for (const Command command : commands) {
        if (!shown_bindings().unchanged(command))
            return false;
        // On a keyboard whose layout labels a key otherwise than its name.
        if (!player_input().pad_used_last)
            for (const Chord& chord : shown_bindings().chords_for(command))
                if (key_label(chord) != KEY_SPELLING.name(chord))
                    return false;
    }
    return true;
}
