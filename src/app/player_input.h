// What the player plays with: the keys' and the pad's bindings, the game's
// own unless the settings file chose others, and which of the two the
// player used last, so that what the screen says names the keys in hand.
#pragma once

#include "app/input_bindings.h"

#include <string>
#include <vector>

const std::vector<Binding>& default_key_bindings();
const std::vector<Binding>& default_pad_bindings();

struct PlayerInput {
    InputBindings keys{default_key_bindings()};
    InputBindings pad{default_pad_bindings()};
    bool pad_used_last = false;
};

// The game's one set.
PlayerInput& player_input();

// Takes the settings' key_ and pad_ lines; gives a line for each that
// could not be taken.
std::vector<std::string> take_binding_settings(const SettingLines& lines, const std::string& file_name);

// The first chord that asks for the command, as the screen shows it, on
// the device used last, or the keyboard's where the pad has none; "none"
// for a command left without any.
std::string shown_chord(Command command);
// Every chord of the commands, comma-separated, as the screen shows them.
std::string shown_chords(const std::vector<Command>& commands);
// Whether the commands keep the game's own chords on the device used last,
// each labelled as the settings name it.
bool shown_unchanged(const std::vector<Command>& commands);
