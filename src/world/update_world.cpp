#include "world/update_world.h"

#include "game/game.h"
#include "platform/window.h"
#include "world/flight.h"

#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>

namespace {

constexpr float POLAR_MIN = 0.0f;   // degrees: straight above the target
constexpr float POLAR_MAX = 180.0f; // degrees: straight below it

// The cursor is captured, so the mouse position is an unbounded sum of its
// motion: right turns the camera about the vertical, down lowers the eye.
void turn_camera(Game& game)
{
    platform::get_mouse_pos(&game.mouse_x, &game.mouse_y);
    if (game.mouse_x == game.last_mouse_x && game.mouse_y == game.last_mouse_y)
        return;
    const int32_t dx = game.mouse_x - game.last_mouse_x;
    const int32_t dy = game.mouse_y - game.last_mouse_y;
    const float degrees = DEGREES_PER_MOUSE_UNIT * static_cast<float>(game.options.mouse_speed) / 100.0f;
    const float up_down = game.options.mouse_inverted ? -degrees : degrees;

    // Straight above or below the target the view has no up direction, so a
    // movement that would reach a pole is dropped, not clamped.
    const float polar = game.camera_polar + static_cast<float>(dy) * up_down;
    if (polar > POLAR_MIN && polar < POLAR_MAX) {
        game.camera_polar = polar;
        game.update_camera();
    }
    game.camera_azimuth += static_cast<float>(dx) * degrees;
    game.update_camera();

    game.last_mouse_x = game.mouse_x;
    game.last_mouse_y = game.mouse_y;
}

// The camera follows the wheel smoothly: a fixed step per frame until
// zoom_level has caught up with the wheel counter. The camera moves by
// exactly what zoom_level moves: a whole step on the last frame as well let
// rounding carry it a twentieth of a cell further every few wheel turns.
void zoom_camera(Game& game)
{
    const float gap = static_cast<float>(platform::get_mouse_wheel()) - game.zoom_level;
    if (gap == 0.0f)
        return;
    const float step = std::clamp(gap, -ZOOM_STEP, ZOOM_STEP);
    game.zoom_level += step;
    game.camera_distance += step;
    game.update_camera();
}

// Driven by the clock, not by dt, so every frame drawn at the same moment
// shows the same angle whatever the frame rate.
void spin_goal(Game& game)
{
    const float angle = static_cast<float>(platform::get_time()) * GOAL_SPIN_SPEED;
    const glm::vec3 centre{0.5f, 0.5f, 0.5f};
    const glm::mat4 identity(1.0f);
    game.goal_spin_matrix = glm::translate(identity, centre) *
                            glm::rotate(identity, glm::radians(angle), glm::vec3(0.0f, 1.0f, 0.0f)) *
                            glm::translate(identity, -centre);
}

} // namespace

// The frame time goes unused: the flight counts frames, not seconds (see
// flight.cpp), the goal follows the clock and the zoom the frame count.
void update_world(Game& game, double)
{
    // Paused, the mouse's motion is let go, not kept for later: the camera
    // must not jump as the menu closes.
    if (game.paused) {
        platform::get_mouse_pos(&game.last_mouse_x, &game.last_mouse_y);
        spin_goal(game);
        return;
    }
    // While a level is edited its ship stays where the editor put it.
    if (game.edit_mode != EditMode::EDITING)
        flight_step(game);
    turn_camera(game);
    zoom_camera(game);
    spin_goal(game);
}
