// The keyboard: W, A, S and D choose the heading, Space launches, R starts
// the level again, U takes back a launch, H points along a shortest way to
// the goal, F3 to F5 tune how models are drawn. The handler only changes
// program-wide state; the world and the renderer read it in the next frame.
#pragma once

// Whether the min filter is one of the mipmap filters.
extern bool mipmaps_enabled;
// 0 off, 1 nearest mip level, 2 linear between mip levels; F5 cycles it.
extern int mipmap_mode;

// The window layer's key callback: key code and PRESS or RELEASE. Ignores
// every event while the ship flies. R, U and H go to the Game stored as the
// window's user pointer, and do nothing without one.
void on_key(int key, int action);
