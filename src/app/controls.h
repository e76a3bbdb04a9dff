// The one place a command is carried out, whatever asked for it. In play
// the heading is chosen, the ship launched, R starts the level again, U
// takes back a launch, H points along a shortest way to the goal, F3 to F5
// tune how models are drawn: these only change program-wide state and the
// game's requests, and the world and the renderer act on them in the next
// frame. The editor's commands edit the level at once.
#pragma once

#include "game/command.h"
#include "platform/window.h"

class Game;

// Whether the min filter is one of the mipmap filters.
extern bool mipmaps_enabled;
// 0 off, 1 nearest mip level, 2 linear between mip levels; F5 cycles it.
extern int mipmap_mode;

// Carries out a command. In play, every command but the sound's is ignored
// while the ship flies; while a level is edited, only the editor's and those
// of help, the picture and the sound count; a play-test has no level select.
void apply_command(Game& game, Command command);

// The window layer's key callback: key code and PRESS or RELEASE. The
// keyboard's map makes each event a command for the Game stored as the
// window's user pointer; nothing happens without one.
void on_key(int key, int action);

// Carries out what the pad asks for since its last state, and moves the
// camera by it over the frame's `seconds`; call it once a frame, where the
// key callbacks run.
void on_pad(Game& game, const platform::PadState& pad, double seconds);
