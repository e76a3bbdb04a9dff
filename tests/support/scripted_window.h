// A window layer without a window: tests set what the next reads of the
// mouse, the wheel, the clock and the gamepad return.
#pragma once

#include "platform/window.h"

namespace scripted {
extern int mouse_x, mouse_y, wheel;
extern double now;
extern platform::PadState pad;
} // namespace scripted
