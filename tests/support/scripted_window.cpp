#include "scripted_window.h"

namespace {

int mouse_x = 0;
int mouse_y = 0;
int wheel = 0;
double now = 0.0;

// The size a window opened without one gets.
constexpr int DEFAULT_WIDTH = 640;
constexpr int DEFAULT_HEIGHT = 480;

} // namespace

namespace scripted {

void set_mouse_pos(int x, int y)
{
    mouse_x = x;
    mouse_y = y;
}

void set_mouse_wheel(int position)
{
    wheel = position;
}

void set_time(double seconds)
{
    now = seconds;
}

void reset()
{
    mouse_x = mouse_y = wheel = 0;
    now = 0.0;
}

} // namespace scripted

namespace platform {

int init() { return 1; }
void terminate() {}
void open_window_hint(int, int) {}
int open_window(int, int, int, int, int, int, int, int, int) { return 1; }
void set_window_title(const char*) {}
void get_window_size(int* width, int* height)
{
    *width = DEFAULT_WIDTH;
    *height = DEFAULT_HEIGHT;
}
void set_key_callback(KeyCallback) {}
int get_key(int) { return RELEASE; }
void disable_mouse_cursor() {}
void get_mouse_pos(int* x, int* y)
{
    *x = mouse_x;
    *y = mouse_y;
}
int get_mouse_wheel() { return wheel; }
int get_window_param(int param) { return param == OPENED ? 1 : 0; }
double get_time() { return now; }
void sleep(double) {}
void swap_buffers() {}
void* get_proc_address(const char*) { return nullptr; }

} // namespace platform
