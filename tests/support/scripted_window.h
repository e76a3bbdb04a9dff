// A window layer without a window, for tests of code that reads the mouse,
// the wheel and the clock. Tests set what the next reads return; the other
// calls of the layer do nothing and report success.
#pragma once

#include "platform/window.h"

namespace scripted {

void set_mouse_pos(int x, int y);
void set_mouse_wheel(int position);
void set_time(double seconds);

// Back to a mouse at (0, 0), the wheel at 0 and time 0.
void reset();

} // namespace scripted
