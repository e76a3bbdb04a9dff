// Once per frame: the ship's flight, the camera turned by the mouse and
// moved by the wheel, and the goal's spinning part.
#pragma once

class Game;

// One unit of mouse motion turns the camera by this many degrees at the
// mouse speed of 100 (%).
constexpr float DEGREES_PER_MOUSE_UNIT = 1.0f;
// The camera moves this many cells nearer or farther per frame until it has
// followed the wheel: one wheel step is 20 frames of 0.05.
constexpr float ZOOM_STEP = 0.05f;
// The goal's rotating part turns this many degrees per second.
constexpr float GOAL_SPIN_SPEED = 100.0f;

// dt is the length of the previous frame in seconds; the flight's outcome
// does not depend on it, and the camera and the goal follow the clock and
// the frame count. Reads the mouse, the wheel and the clock through the
// window layer.
void update_world(Game& game, double dt);
