#include "game/game.h"

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
