#include "scripted_window.h"

#include "platform/window.h"

int scripted::mouse_x = 0, scripted::mouse_y = 0, scripted::wheel = 0;
double scripted::now = 0.0;
platform::PadState scripted::pad;
bool scripted::fullscreen = false;
std::string scripted::clipboard;
bool scripted::focused = true;
static void* user_pointer = nullptr;

// Only the reads the world rules and the controls make, and the game's
// pointer for its key callback: nothing else of the layer is linked.
void platform::get_mouse_pos(int* x, int* y) { *x = scripted::mouse_x; *y = scripted::mouse_y; }
int platform::get_mouse_wheel() { return scripted::wheel; }
double platform::get_time() { return scripted::now; }
platform::PadState platform::get_pad_state() { return scripted::pad; }
std::string platform::key_label(int) { return {}; }
void platform::set_fullscreen(bool whole_screen) { scripted::fullscreen = whole_screen; }
bool platform::is_fullscreen() { return scripted::fullscreen; }
void platform::set_clipboard(const std::string& text) { scripted::clipboard = text; }
bool platform::is_focused() { return scripted::focused; }
std::string platform::get_clipboard() { return scripted::clipboard; }
void platform::set_user_pointer(void* pointer) { user_pointer = pointer; }
void* platform::get_user_pointer() { return user_pointer; }
