// A window layer without a window: tests set what the next reads of the
// mouse, the wheel and the clock return.
#pragma once

namespace scripted {
extern int mouse_x, mouse_y, wheel;
extern double now;
} // namespace scripted
