#include "game/game.h"

#include "transforms/camera.h"

#include <glm/gtc/matrix_transform.hpp>

Game::Game()
{
    update_camera();
}

// The grid and the particle system go first; the lists then go in reverse
// declaration order. No OpenGL object is deleted here: they all end with the
// context.
Game::~Game()
{
    level_grid.reset();
    particles.reset();
}

void Game::update_camera()
{
    camera_eye = orbit_eye(camera_target, camera_distance, camera_azimuth, camera_polar);
    view_matrix = glm::lookAt(camera_eye, camera_target, camera_up);
}
