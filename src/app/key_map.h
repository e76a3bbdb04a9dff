// The keyboard's map: which command a key event asks for, in the mode the
// game is in, by the keys' bindings. While a level is edited its keys are
// the editor's, but for help, the picture and the sound, which keep their
// meaning everywhere.
#pragma once

#include "app/input_bindings.h"
#include "game/command.h"
#include "game/edit_mode.h"

#include <optional>

class KeyMap {
public:
    // The command for one event of the window layer: a key code, and PRESS
    // or RELEASE. In play every event asks for one, a release or a key
    // without a meaning the heading only; while editing, only the keys the
    // editor answers to. In play Ctrl changes nothing a key without it
    // asks for; in the editor only help, the picture and the sound keep
    // their keys with Ctrl held. While the menu is open a press asks for
    // the menu's commands alone, and a release for nothing.
    std::optional<Command> command_for(int key, int action, EditMode mode, const InputBindings& bindings,
                                       bool menu_open = false);

    // The chord a press makes, for a key to be bound from the menu: none
    // for a release, or for Ctrl itself.
    std::optional<Chord> chord_for(int key, int action);

private:
    // Follows the Ctrl keys; returns whether either is down.
    bool follow_ctrl(int key, int action);

    // Whether each Ctrl key is down, as its own presses and releases tell
    // it: the window layer's key state is sticky, and would call a key down
    // once more after it was let go.
    bool left_ctrl_down_ = false;
    bool right_ctrl_down_ = false;
};
