// The window layer: the calls and key codes of the GLFW 2.7 window library,
// which the game was written against, provided on top of GLFW 3. Nothing
// else in the game includes GLFW. Tests and tools that must run without a
// display link a scripted implementation of this same interface instead.
#pragma once

#include "result/result.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Key codes as GLFW 2.7 numbers them: printable keys are their upper-case
// character codes, special keys start after 256.
constexpr int KEY_SPACE = 32;
constexpr int KEY_SPECIAL = 256;
constexpr int KEY_ESC = KEY_SPECIAL + 1;
constexpr int KEY_F1 = KEY_SPECIAL + 2;
constexpr int KEY_F3 = KEY_F1 + 2;
constexpr int KEY_F4 = KEY_F1 + 3;
constexpr int KEY_F5 = KEY_F1 + 4;
constexpr int KEY_F25 = KEY_F1 + 24;
constexpr int KEY_UP = KEY_SPECIAL + 27;
constexpr int KEY_DOWN = KEY_SPECIAL + 28;
constexpr int KEY_LEFT = KEY_SPECIAL + 29;
constexpr int KEY_RIGHT = KEY_SPECIAL + 30;
constexpr int KEY_LSHIFT = KEY_SPECIAL + 31;
constexpr int KEY_RSHIFT = KEY_SPECIAL + 32;
constexpr int KEY_LCTRL = KEY_SPECIAL + 33;
constexpr int KEY_RCTRL = KEY_SPECIAL + 34;
constexpr int KEY_LALT = KEY_SPECIAL + 35;
constexpr int KEY_RALT = KEY_SPECIAL + 36;
constexpr int KEY_TAB = KEY_SPECIAL + 37;
constexpr int KEY_ENTER = KEY_SPECIAL + 38;
constexpr int KEY_BACKSPACE = KEY_SPECIAL + 39;
constexpr int KEY_INSERT = KEY_SPECIAL + 40;
constexpr int KEY_DEL = KEY_SPECIAL + 41;
constexpr int KEY_PAGEUP = KEY_SPECIAL + 42;
constexpr int KEY_PAGEDOWN = KEY_SPECIAL + 43;
constexpr int KEY_HOME = KEY_SPECIAL + 44;
constexpr int KEY_END = KEY_SPECIAL + 45;

constexpr int RELEASE = 0;
constexpr int PRESS = 1;

// open_window modes.
constexpr int WINDOW = 0x00010001;
constexpr int FULLSCREEN = 0x00010002;

// get_window_param.
constexpr int OPENED = 0x00020001;

// open_window_hint targets and values.
constexpr int OPENGL_VERSION_MAJOR = 0x00020014;
constexpr int OPENGL_VERSION_MINOR = 0x00020015;
constexpr int OPENGL_PROFILE = 0x00020018;
constexpr int OPENGL_CORE_PROFILE = 0x00050001;
constexpr int OPENGL_COMPAT_PROFILE = 0x00050002;

using KeyCallback = void (*)(int key, int action);

// Starts the window library. A failure's problem is the library's own words,
// such as "X11: Failed to open display :99", or empty when it gave none.
Result<> init();
// Closes the window, ends its context and releases the library.
void terminate();

// The longest side a window may have on any window system the game runs on:
// X11 reaches a window's pixels through 16-bit signed coordinates, so past
// this a window has pixels nothing can draw to, and no screen elsewhere comes
// near it.
constexpr int LARGEST_WINDOW_SIDE = 32767;

// Takes effect at the next open_window.
void open_window_hint(int target, int hint);
// Colour bits of 0 keep the library's choice. A width or height of 0 is
// derived from the other side at 4:3, and both 0 give 640 x 480. The window
// has an sRGB-capable framebuffer and its context is current. A failure's
// problem is the library's own words for it, as with init.
// A window (not the whole screen) opens hidden and no larger than the screen,
// which every driver can draw: the driver's own limits can only be asked of
// the context, and a framebuffer past them crashes some drivers while the
// window opens. show_window gives it the size asked for here.
Result<> open_window(int width, int height, int red_bits, int green_bits, int blue_bits,
                     int alpha_bits, int depth_bits, int stencil_bits, int mode);
// The size open_window was asked for, the 4:3 rule applied.
void get_asked_window_size(int* width, int* height);
// Shows the window at the size open_window was asked for, each side brought
// down to LARGEST_WINDOW_SIDE and to what gives a framebuffer of at most
// largest_width x largest_height pixels, the most the driver draws. From then
// on a window resized past that is put back. The whole screen is shown as it
// opened: a screen's own size is one every driver draws. Returns 1 when a
// side had to be brought down.
int show_window(int largest_width, int largest_height);
// Call it just before a frame's first drawing, where the driver reads the
// window's size. It asks the window system for that size, which on X11 is
// one round trip to the server, and takes it as the framebuffer's: a resize
// from outside comes before its event does. A window that something resized
// past the limits of show_window is put back within them.
void follow_window_size();
void set_window_title(const char* title);
// The open window's icon, for the task bar and the window switcher: width x
// height pixels of 8-bit RGBA, the top row first. A window system that takes
// no icon from the program (Wayland, which reads the menu entry's) ignores it.
void set_window_icon(int width, int height, const std::vector<uint8_t>& rgba);
// Puts the open window on the whole primary screen, at the size open_window
// was asked for where the screen has such a mode and at the screen's own
// otherwise, or back into a window of that size, brought within the screen,
// in its middle. Nothing happens without a window or a screen.
void set_fullscreen(bool whole_screen);
bool is_fullscreen();
// Whether the window has the keyboard's focus: false while another window
// is in front, or without a window.
bool is_focused();
// The size the open window really has, which is what the projection needs.
void get_window_size(int* width, int* height);
// The size of the window's framebuffer in pixels, which is what the picture
// must fill: larger than the window's size on a HiDPI screen, and changed
// whenever a window manager resizes the window. Kept up to date while events
// are handled, so reading it costs nothing; 0 x 0 while minimised.
void get_framebuffer_size(int* width, int* height);

// Presses and releases only; held keys do not repeat.
void set_key_callback(KeyCallback callback);
// A pointer of the game's, kept with the window so that a key callback, which
// is passed none, can reach the object it serves. It may be set before the
// window opens; terminate forgets it, as it forgets the key callback.
void set_user_pointer(void* pointer);
void* get_user_pointer();

// PRESS while the key is held down.
int get_key(int key);
// What this keyboard's layout prints on a printable key, by the key's code
// (on a French keyboard the key in A's place says "q"); empty for another
// key, or where the window system does not say.
std::string key_label(int key);

// Hides the cursor and keeps it in the window, so that the position read
// below becomes an unbounded sum of the mouse's motion.
void disable_mouse_cursor();
void get_mouse_pos(int* x, int* y);
// Sum of the wheel's steps since start-up.
int get_mouse_wheel();

// OPENED: 1 while the window is open and has not been asked to close.
int get_window_param(int param);

// The desktop's clipboard, as text: what the window puts there stays for
// other programs while the window is open. Empty when it holds no text,
// or there is no window.
void set_clipboard(const std::string& text);
std::string get_clipboard();

// Seconds since init.
double get_time();
// Sleeps 1 ms for anything up to 1 ms; longer times to well under a
// millisecond of the deadline.
void sleep(double seconds);

// Shows the frame just drawn, then handles window events: key callbacks run
// here.
void swap_buffers();
// A part of the window in pixels, from its lower left corner.
struct WindowArea {
    int left = 0;
    int bottom = 0;
    int width = 0;
    int height = 0;
};
// The same, for a frame of which only these parts differ from the last one
// shown: where frames are kept, only they are copied to the window, unless
// the window system lost what the window showed.
void swap_buffers(const std::vector<WindowArea>& changed);

// Asks that each frame be shown by copying it into the window, so that the
// next frame starts from the pixels of this one, where a swap leaves them
// undefined. Returns whether the window can: an X window whose GLX has
// GLX_MESA_copy_sub_buffer. Such a copy waits for no vertical blank: meant
// for a software renderer, which draws into memory anyway.
bool keep_frames_drawn();
// Whether the back buffer still holds the frame last shown: never without
// keep_frames_drawn, nor after a resize, for which the driver takes new
// buffers.
bool last_frame_kept();

void* get_proc_address(const char* name);

// A gamepad's buttons and axes, numbered as GLFW 3's gamepad API numbers
// them: the face buttons by their places (A south, B east, X west, Y north).
constexpr int PAD_A = 0, PAD_B = 1, PAD_X = 2, PAD_Y = 3, PAD_LEFT_BUMPER = 4, PAD_RIGHT_BUMPER = 5, PAD_BACK = 6,
              PAD_START = 7, PAD_GUIDE = 8, PAD_LEFT_THUMB = 9, PAD_RIGHT_THUMB = 10, PAD_DPAD_UP = 11,
              PAD_DPAD_RIGHT = 12, PAD_DPAD_DOWN = 13, PAD_DPAD_LEFT = 14, PAD_BUTTONS = 15;
// Sticks from -1 to 1, up being -1; triggers from -1 at rest to 1 pulled.
constexpr int PAD_LEFT_X = 0, PAD_LEFT_Y = 1, PAD_RIGHT_X = 2, PAD_RIGHT_Y = 3, PAD_LEFT_TRIGGER = 4,
              PAD_RIGHT_TRIGGER = 5, PAD_AXES = 6;

struct PadState {
    bool connected = false;
    std::array<bool, PAD_BUTTONS> buttons{};
    std::array<float, PAD_AXES> axes{};
};

// The first joystick that is a gamepad, read through its mapping; not
// connected while there is none. Pads plugged in or out are seen as the
// window's events are handled.
PadState get_pad_state();

// Adds gamepad mappings in the SDL format of gamecontrollerdb.txt to the
// library's own, a line at a time, once init has succeeded; a later line
// for the same pad replaces an earlier one. Gives the numbers, from 1, of
// the lines left out: each line must be empty, a comment (#) or a mapping
// the library takes.
std::vector<int> add_gamepad_mappings(const std::string& text);

} // namespace platform
