// The ship's motion as a value: where it rests or flies, where it is drawn
// and how far into a step it is. The rules step it frame by frame; the game,
// the solver and the level tools all hold it the same way.
#pragma once

#include <glm/glm.hpp>

#include <array>
#include <cstdint>

using Cell = std::array<int32_t, 3>; // x, y, z

// Everything about a resting ship that its next flight depends on. The
// flight phase is part of it: a ship that stopped right after leaving a
// beamer rests at phase 1 and takes its next cell a frame early, with its
// picture a cell behind. So is the picture: the ship is lost when its
// picture passes the loss bounds, so one a cell behind flies a cell farther.
struct RestingShip {
    Cell cell{};
    float flight_progress = 0.0f; // 0 or 1
    glm::vec3 drawn{0.0f};        // where the ship is drawn, in cells
};

inline bool operator==(const RestingShip& a, const RestingShip& b)
{
    return a.cell == b.cell && a.flight_progress == b.flight_progress && a.drawn == b.drawn;
}

// Which beamers a flight has come out of, so that it knows when it comes
// back round.
constexpr uint8_t LEFT_FIRST_BEAMER = 1;
constexpr uint8_t LEFT_LAST_BEAMER = 2;

// A resting or flying ship. A launch is requested from the frame Space was
// seen until the ship rests again; it flies from the frame the cell ahead
// let it go.
struct ShipMotion {
    Cell cell{};
    glm::vec3 drawn{0.0f};
    float flight_progress = 0.0f;
    bool launch_requested = false;
    bool flying = false;
    uint8_t beamers_left = 0; // LEFT_FIRST_BEAMER | LEFT_LAST_BEAMER, this flight only
};
