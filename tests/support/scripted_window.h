// A window layer without a window: tests set what the next reads of the
// mouse, the wheel, the clock and the gamepad return, and whether the
// window is on the whole screen.
#pragma once

#include "platform/window.h"

namespace scripted {
extern int mouse_x, mouse_y, wheel;
extern double now;
extern platform::PadState pad;
extern bool fullscreen;
extern std::string clipboard;
extern bool focused;
} // namespace scripted
