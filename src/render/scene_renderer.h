// Draws one frame of the game: skybox, cells, heading marker, the beamer
// effect and the walls around the play field, in that order.
#pragma once

#include "game/uniform_locations.h"
#include "transforms/screen_rect.h"

#include <glm/glm.hpp>

#include <cstdint>

class Game;
struct ShaderProgram;

// Looks the Phong program's uniforms up once, after it is linked, and gives
// its sampler of cell matrices a texture unit of its own.
UniformLocations find_uniform_locations(uint32_t program);

// One indexed draw of a loaded model with the current render settings.
void draw_model(glm::mat4 model, int record_index, const Game& game);

// The whole frame, into the cleared back buffer. Leaves depth testing and
// culling on, blending off and depth writes on, as it found them.
void render_scene(const ShaderProgram& phong_program, Game& game);
// The same, for a frame that draws only `part` of the window (the scissor
// is the caller's): what lies wholly outside it need not be drawn.
void render_scene(const ShaderProgram& phong_program, Game& game, const ScreenRect& part);

// A frame drawn in several passes, or in none, moves the beamers' clouds
// once, first; each pass then draws them as this left them.
void step_clouds_ahead(Game& game);
void render_scene_pass(const ShaderProgram& phong_program, Game& game, const ScreenRect& part);
