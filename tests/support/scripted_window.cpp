#include "scripted_window.h"

namespace scripted {
int mouse_x = 0, mouse_y = 0, wheel = 0;
double now = 0.0;
} // namespace scripted

// Only the calls the world rules make; nothing here opens a window.
namespace platform {
void get_mouse_pos(int* x, int* y)
{
    *x = scripted::mouse_x;
    *y = scripted::mouse_y;
}
int get_mouse_wheel() { return scripted::wheel; }
double get_time() { return scripted::now; }
} // namespace platform
