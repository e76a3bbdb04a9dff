// The keys' and the pad's inputs by name: as the settings file spells them
// ("PageDown", "Ctrl+S", "Back+A") and as the screen shows them, where a
// printable key is labelled as this keyboard's layout labels it.
#pragma once

#include "app/input_bindings.h"
#include "platform/window.h"

#include <optional>
#include <string>

// The pad's inputs as the bindings number them: GLFW's buttons, then the
// left stick's four directions, then the two triggers.
constexpr int PAD_STICK_UP = platform::PAD_BUTTONS, PAD_STICK_RIGHT = PAD_STICK_UP + 1,
              PAD_STICK_DOWN = PAD_STICK_UP + 2, PAD_STICK_LEFT = PAD_STICK_UP + 3,
              PAD_LEFT_TRIGGER_PULLED = PAD_STICK_UP + 4, PAD_RIGHT_TRIGGER_PULLED = PAD_STICK_UP + 5,
              PAD_INPUTS = PAD_STICK_UP + 6;

extern const ChordSpelling KEY_SPELLING;
extern const ChordSpelling PAD_SPELLING;

// What the screen shows for a chord: "Ctrl+S", "Q" for the key the game
// calls A on a French keyboard, "Back+A".
std::string key_label(Chord chord);
std::string pad_label(Chord chord);
