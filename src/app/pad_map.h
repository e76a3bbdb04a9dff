// The gamepad's map: which commands a pad's state asks for, frame by frame,
// in the mode the game is in, and how far its right stick and triggers move
// the camera. A button asks once when it goes down; a stick tilted past its
// dead zone asks once along its larger axis, and again only after it has
// come back near the middle; a trigger is a button pulled past half way
// from its rest. Back held with another input makes a chord, "Back+A"; Back
// alone asks as it is let go.
#pragma once

#include "app/input_bindings.h"
#include "app/input_names.h"
#include "game/edit_mode.h"
#include "platform/window.h"

#include <array>
#include <vector>

// The pad's camera for one frame: degrees to turn about the vertical and
// down from it, as the mouse does, and cells to move nearer.
struct PadCamera {
    float azimuth = 0.0f;
    float polar = 0.0f;
    float nearer = 0.0f;
};

class PadMap {
public:
    // The commands since the last state. A pad that comes (back) asks for
    // nothing it was already holding, and one that goes asks for nothing.
    std::vector<Command> commands_for(const platform::PadState& pad, EditMode mode, const InputBindings& bindings,
                                      bool menu_open = false);
    // The chords those commands are asked by, for a button to be bound from
    // the menu.
    std::vector<Chord> chords_for(const platform::PadState& pad);

    // The camera's motion over `seconds` from the right stick, and from the
    // triggers in play, or with Back held while editing, where the triggers
    // alone undo and redo. A trigger at its rest, or at the middle where some
    // pads report it before it is first touched, moves nothing.
    PadCamera camera_for(const platform::PadState& pad, EditMode mode, double seconds) const;

private:
    using Inputs = std::array<bool, PAD_INPUTS>;
    Inputs held_now(const platform::PadState& pad) const;

    bool connected_ = false;
    Inputs held_{};
    // Whether something else was pressed while Back was held.
    bool back_chorded_ = false;
};
