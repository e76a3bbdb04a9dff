#include "world/flight_rules.h"

#include "game/frame_period.h"
#include "world/level_loader.h"

namespace {

// Each crossed cell adds two frame periods to the ship's drawn lead, in
// cells. It once added two real frame times, so a slow frame or a stalled
// process pushed the drawn ship past the loss bounds and restarted a level
// that the same launch at 60 frames a second would have finished; now a
// launch ends the same way at any frame rate, as the solver assumes.
constexpr float LEAD_PER_CELL = static_cast<float>(2.0 * FRAME_PERIOD);

// Ends the flight and the launch: the ship rests.
void come_to_rest(ShipMotion& motion)
{
    motion.flying = false;
    motion.launch_requested = false;
}

Cell cell_of(const glm::vec3& position)
{
    return {static_cast<int32_t>(position.x), static_cast<int32_t>(position.y), static_cast<int32_t>(position.z)};
}

// Entering one beamer leaves from the other; with a single beamer the ship
// comes out of the one it entered. The launch stays requested, so the
// flight goes on in the same direction. Between beamers the ship only moves
// on along its heading, so coming out of a beamer for the second time in
// one flight means going round the same way for ever.
void beam(const LevelGrid& grid, FlightStep& step)
{
    ShipMotion& motion = step.motion;
    const glm::vec3 first = find_beamer(grid, BeamerEnd::FIRST);
    const glm::vec3 entered(step.ahead[0], step.ahead[1], step.ahead[2]);
    const bool out_of_last = entered == first;
    const glm::vec3 exit = out_of_last ? find_beamer(grid, BeamerEnd::LAST) : first;
    step.beamed = true;
    step.beamer_exit = cell_of(exit);

    const uint8_t leaving = out_of_last ? LEFT_LAST_BEAMER : LEFT_FIRST_BEAMER;
    if (motion.beamers_left & leaving) {
        come_to_rest(motion);
        step.end = StepEnd::ENDLESS;
        return;
    }
    motion.beamers_left |= leaving;
    motion.drawn = exit;
    motion.cell = step.beamer_exit;
    motion.flying = true;
}

// The launch check: what lies in the cell ahead of the ship decides whether
// it flies on.
void look_ahead(const LevelGrid& grid, int axis, FlightStep& step)
{
    ShipMotion& motion = step.motion;
    // Past the edge there is nothing to stop the ship; it flies on until it
    // is lost. A cell off the grid on another axis cannot happen in play, but
    // would count as outside too rather than be read.
    const Cell& ahead = step.ahead;
    if (!inside_grid(grid, ahead[0], ahead[1], ahead[2])) {
        motion.flying = true;
        return;
    }

    switch (grid.cells[cell_index(grid, ahead[0], ahead[1], ahead[2])]) {
    case CELL_EMPTY:
        motion.flying = true;
        break;
    case CELL_CUBE:
        // Stop in this cell, dropping the lead the drawn ship had gained.
        motion.drawn[axis] = static_cast<float>(motion.cell[axis]);
        come_to_rest(motion);
        step.end = StepEnd::RESTS;
        break;
    case CELL_BEAMER:
        beam(grid, step);
        break;
    case CELL_GOAL:
        come_to_rest(motion);
        step.end = StepEnd::GOAL;
        break;
    default:
        // Cells the renderer does not draw still block, but leave the drawn
        // position as it was.
        come_to_rest(motion);
        step.end = StepEnd::RESTS;
        break;
    }
}

// The motion: a whole cell ahead for the drawn ship in one frame, then the
// ship's cell catches up in the next while the drawn ship gains its lead.
void move_ship(int axis, int sign, FlightStep& step)
{
    ShipMotion& motion = step.motion;
    float distance = 0.0f;
    if (motion.flight_progress < 1.0f) {
        distance = 1.0f - motion.flight_progress;
        motion.flight_progress = motion.flight_progress + distance;
    } else {
        motion.cell[axis] += sign;
        distance = LEAD_PER_CELL;
        motion.flight_progress = 0.0f;
    }

    float& drawn = motion.drawn[axis];
    drawn += static_cast<float>(sign) * distance;
    if (drawn > LOST_ABOVE || drawn < LOST_BELOW) {
        come_to_rest(motion);
        step.end = StepEnd::LOST;
    }
}

} // namespace

FlightStep step_flight(const LevelGrid& grid, Heading heading, const ShipMotion& motion)
{
    FlightStep step;
    step.motion = motion;
    if (heading.axis < AXIS_X || heading.axis > AXIS_Z)
        return step;
    const int axis = heading.axis - AXIS_X; // 0, 1, 2 for x, y, z

    if (motion.launch_requested) {
        // A launch from rest is a new flight, with no beamers behind it.
        if (!motion.flying)
            step.motion.beamers_left = 0;
        step.ahead = motion.cell;
        step.ahead[axis] += heading.sign;
        look_ahead(grid, axis, step);
        if (step.end != StepEnd::NONE)
            return step;
    }
    if (step.motion.flying)
        move_ship(axis, heading.sign, step);
    return step;
}

ShipMotion launch_from(const RestingShip& ship)
{
    ShipMotion motion;
    motion.cell = ship.cell;
    motion.drawn = ship.drawn;
    motion.flight_progress = ship.flight_progress;
    motion.launch_requested = true;
    return motion;
}

RestingShip resting_ship(const ShipMotion& motion)
{
    return {motion.cell, motion.flight_progress, motion.drawn};
}

glm::vec3 find_beamer(const LevelGrid& grid, BeamerEnd end)
{
    const int32_t count = grid.cell_count;
    for (int32_t step = 0; step < count; ++step) {
        const int32_t index = end == BeamerEnd::FIRST ? step : count - 1 - step;
        if (grid.cells[index] != CELL_BEAMER)
            continue;
        const int32_t x = index % grid.size;
        const int32_t y = index / grid.size % grid.size;
        const int32_t z = index / (grid.size * grid.size);
        return glm::vec3(x, y, z);
    }
    return glm::vec3(0.0f);
}

Cell ship_start(const LevelGrid& grid)
{
    Cell start{};
    for (int32_t x = 0; x < grid.size; ++x)
        for (int32_t y = 0; y < grid.size; ++y)
            for (int32_t z = 0; z < grid.size; ++z)
                if (grid.cells[cell_index(grid, x, y, z)] == CELL_SHIP_START)
                    start = {x, y, z};
    return start;
}

RestingShip take_ship_start(LevelGrid& grid)
{
    const Cell start = ship_start(grid);
    for (int32_t& cell : grid.cells)
        if (cell == CELL_SHIP_START)
            cell = CELL_EMPTY;
    return {start, 0.0f, glm::vec3(start[0], start[1], start[2])};
}

Result<PlayLevel> load_play_level(const std::string& file_name)
{
    PlayLevel level;
    if (const Result<int32_t> loaded = load_level_file(file_name, level.grid, &level.name); !loaded)
        return Failure{loaded.problem()};
    level.start = take_ship_start(level.grid);
    return level;
}
