// Whether the context gave the game every OpenGL function it calls.
#pragma once

#include <string>
#include <vector>

// The names of the OpenGL functions after 1.1 that the game calls and GLEW
// found no pointer for, in the order the game's list has them; empty when
// every one is there. glewInit's status cannot tell: GLEW built for GLX
// loads every function from an EGL context (a Wayland window) and then
// reports a failure for want of a GLX display.
std::vector<std::string> missing_gl_functions();
