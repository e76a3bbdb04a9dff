// The gamepad's map: which commands a pad's state asks for, frame by frame,
// in the mode the game is in. A button asks once when it goes down; a stick
// tilted past its dead zone asks once along its larger axis, and again only
// after it has come back near the middle; a trigger is a button pulled past
// half way from its rest.
#pragma once

#include "game/command.h"
#include "game/edit_mode.h"
#include "platform/window.h"

#include <array>
#include <vector>

class PadMap {
public:
    // The commands since the last state. A pad that comes (back) asks for
    // nothing it was already holding, and one that goes asks for nothing.
    std::vector<Command> commands_for(const platform::PadState& pad, EditMode mode);

private:
    // The pad's inputs as buttons: its own, then the left stick's four
    // directions, then the two triggers.
    static constexpr int STICK_LEFT = platform::PAD_BUTTONS, STICK_RIGHT = STICK_LEFT + 1,
                         STICK_UP = STICK_LEFT + 2, STICK_DOWN = STICK_LEFT + 3,
                         LEFT_TRIGGER = STICK_LEFT + 4, RIGHT_TRIGGER = STICK_LEFT + 5, INPUTS = STICK_LEFT + 6;
    using Inputs = std::array<bool, INPUTS>;
    Inputs held_now(const platform::PadState& pad) const;

    bool connected_ = false;
    Inputs held_{};
};
