// What happened in the world this frame, as the rules tell it. The text on
// screen, the sound and the saved progress listen to these; the rules never
// call them.
#pragma once

#include "game/ship_motion.h"

#include <cstdint>

enum class WorldEventKind {
    LAUNCHED,  // the ship left its cell or tried to
    STOPPED,   // it rests; `cell` is what stopped it
    BEAMED,    // through the beamers: in at `cell`, out at `other`
    SOLVED,    // the goal: `level` (the number played) in `launches`
    FLEW_OUT,  // lost out of the grid; the level starts again
    ENDLESS,   // would have gone round for ever; the level starts again
    RESTARTED, // R
    UNDONE,    // U took a launch back
    HINTED,    // H turned the heading along a shortest way
    NO_WAY,    // H found no way to the goal
    CHOSEN,    // level select went to `level`
};

struct WorldEvent {
    WorldEventKind kind = WorldEventKind::LAUNCHED;
    Cell cell{};
    Cell other{};
    int32_t level = 0;
    int32_t launches = 0;
};
