#include "platform/window.h"

#include "platform/wake_margin.h"

#include <GLFW/glfw3.h>

#include <algorithm>
#include <chrono>
#include <cctype>
#include <climits>
#include <cmath>
#include <sstream>
#include <string>
#include <thread>

#ifdef __linux__
#include <sys/prctl.h>
#endif

namespace platform {
namespace {

// Everything the layer keeps. The old library had one window and no handle
// for it, so there is one of these; GLFW's window callbacks find it through
// the window's user pointer.
struct WindowState {
    GLFWwindow* window = nullptr;
    KeyCallback key_callback = nullptr;
    void* user_pointer = nullptr; // the game's, for its key callback
    double wheel_position = 0.0;
    int framebuffer_width = 0; // pixels, kept up to date by GLFW's callback
    int framebuffer_height = 0;
    int asked_width = 0; // what open_window was asked for, in window units
    int asked_height = 0;
    int largest_width = 0; // the largest framebuffer kept to, in pixels; 0 until shown
    int largest_height = 0;
    std::string error_text;
    int hint_major = 1;
    int hint_minor = 0;
    int hint_profile = 0;
    // Set by keep_frames_drawn: GLX's entry point that shows a frame by
    // copying it, and the display and drawable it takes. X's types are
    // spelled out so that the layer needs no X headers.
    void (*copy_sub_buffer)(void* display, unsigned long drawable, int x, int y, int width, int height) = nullptr;
    void* display = nullptr;
    unsigned long drawable = 0;
    // The framebuffer's size when a frame was last shown, and whether the
    // back buffer still holds that frame.
    int shown_width = 0;
    int shown_height = 0;
    bool frame_kept = false;
    // The window system lost what the window showed (an exposure): the
    // next frame is copied whole.
    bool shown_lost = true;
};

WindowState state;

WindowState& owner(GLFWwindow* window)
{
    return *static_cast<WindowState*>(glfwGetWindowUserPointer(window));
}

// GLFW 3 numbers special keys differently; letters, digits, space and the
// punctuation keys share their codes with 2.7.
int to_old_key(int key)
{
    if (key >= GLFW_KEY_F1 && key <= GLFW_KEY_F25)
        return KEY_F1 + (key - GLFW_KEY_F1);
    switch (key) {
    case GLFW_KEY_ESCAPE: return KEY_ESC;
    case GLFW_KEY_UP: return KEY_UP;
    case GLFW_KEY_DOWN: return KEY_DOWN;
    case GLFW_KEY_LEFT: return KEY_LEFT;
    case GLFW_KEY_RIGHT: return KEY_RIGHT;
    case GLFW_KEY_LEFT_SHIFT: return KEY_LSHIFT;
    case GLFW_KEY_RIGHT_SHIFT: return KEY_RSHIFT;
    case GLFW_KEY_LEFT_CONTROL: return KEY_LCTRL;
    case GLFW_KEY_RIGHT_CONTROL: return KEY_RCTRL;
    case GLFW_KEY_LEFT_ALT: return KEY_LALT;
    case GLFW_KEY_RIGHT_ALT: return KEY_RALT;
    case GLFW_KEY_TAB: return KEY_TAB;
    case GLFW_KEY_ENTER: return KEY_ENTER;
    case GLFW_KEY_BACKSPACE: return KEY_BACKSPACE;
    case GLFW_KEY_INSERT: return KEY_INSERT;
    case GLFW_KEY_DELETE: return KEY_DEL;
    case GLFW_KEY_PAGE_UP: return KEY_PAGEUP;
    case GLFW_KEY_PAGE_DOWN: return KEY_PAGEDOWN;
    case GLFW_KEY_HOME: return KEY_HOME;
    case GLFW_KEY_END: return KEY_END;
    }
    if (key >= GLFW_KEY_SPACE && key <= GLFW_KEY_GRAVE_ACCENT)
        return key;
    return -1;
}

int to_new_key(int key)
{
    for (int candidate = GLFW_KEY_SPACE; candidate <= GLFW_KEY_LAST; ++candidate)
        if (to_old_key(candidate) == key)
            return candidate;
    return GLFW_KEY_UNKNOWN;
}

void on_glfw_key(GLFWwindow* window, int key, int, int action, int)
{
    const KeyCallback callback = owner(window).key_callback;
    if (action == GLFW_REPEAT || !callback)
        return;
    const int old_key = to_old_key(key);
    if (old_key >= 0)
        callback(old_key, action == GLFW_PRESS ? PRESS : RELEASE);
}

void on_glfw_scroll(GLFWwindow* window, double, double y_offset)
{
    owner(window).wheel_position += y_offset;
}

// A window side, in the window system's units, cut down so that its side of
// `pixels` in the framebuffer comes to at most `largest`.
int cut_side(int side, int pixels, int largest)
{
    if (pixels <= largest || pixels <= 0)
        return side;
    return std::max(1, static_cast<int>(static_cast<long long>(side) * largest / pixels));
}

// Puts a window whose framebuffer is reported past the limits back within
// them, and records the size it is put back to: nothing is drawn at the
// larger size while the window system catches up. The report may be an old
// one, of a size already put back: the sizes are asked for again. The whole
// screen is left alone: a window size there is a change of video mode.
void keep_within(WindowState& s, int reported_width, int reported_height)
{
    if (s.largest_width <= 0 || glfwGetWindowMonitor(s.window) != nullptr ||
        (reported_width <= s.largest_width && reported_height <= s.largest_height))
        return;
    int window_width = 0;
    int window_height = 0;
    int framebuffer_width = 0;
    int framebuffer_height = 0;
    glfwGetWindowSize(s.window, &window_width, &window_height);
    glfwGetFramebufferSize(s.window, &framebuffer_width, &framebuffer_height);
    if (framebuffer_width > s.largest_width || framebuffer_height > s.largest_height)
        glfwSetWindowSize(s.window, cut_side(window_width, framebuffer_width, s.largest_width),
                          cut_side(window_height, framebuffer_height, s.largest_height));
    s.framebuffer_width = std::min(framebuffer_width, s.largest_width);
    s.framebuffer_height = std::min(framebuffer_height, s.largest_height);
}

void on_glfw_refresh(GLFWwindow* window)
{
    owner(window).shown_lost = true;
}

void on_glfw_framebuffer_size(GLFWwindow* window, int width, int height)
{
    WindowState& s = owner(window);
    s.framebuffer_width = width;
    s.framebuffer_height = height;
    keep_within(s, width, height);
}

// The largest window, in window units, known to be drawable before the
// driver can be asked: the primary screen's size, which the driver must be
// able to fill. Without a screen to go by, the old library's default window.
void screen_size(int* width, int* height)
{
    *width = 640;
    *height = 480;
    GLFWmonitor* const monitor = glfwGetPrimaryMonitor();
    const GLFWvidmode* const mode = monitor != nullptr ? glfwGetVideoMode(monitor) : nullptr;
    if (mode == nullptr)
        return;
    // The mode is in pixels; on a scaled screen a window unit is more than one.
    float x_scale = 1.0f;
    float y_scale = 1.0f;
    glfwGetMonitorContentScale(monitor, &x_scale, &y_scale);
    *width = std::max(1, static_cast<int>(static_cast<float>(mode->width) / std::max(1.0f, x_scale)));
    *height = std::max(1, static_cast<int>(static_cast<float>(mode->height) / std::max(1.0f, y_scale)));
}

// The old library's rule for a missing side, in 64 bits: a side near the
// largest int would overflow at 4:3.
int other_side(int side, int numerator, int denominator)
{
    return static_cast<int>(std::min<long long>(INT_MAX, static_cast<long long>(side) * numerator / denominator));
}

// GLFW's error callback carries neither a window nor a pointer, and its most
// telling errors (no display) come before any window exists: it is the one
// callback that names the state directly.
void on_glfw_error(int, const char* description)
{
    state.error_text = description ? description : "";
}

// Whether the window has the size the frame was drawn at. After a swap the
// driver reads the size again at the next frame's first drawing and makes
// new buffers if it changed: copying the old size out of a smaller one is
// an X error, which ends the program.
bool still_sized(int width, int height)
{
    int now_width = 0;
    int now_height = 0;
    glfwGetFramebufferSize(state.window, &now_width, &now_height);
    return now_width == width && now_height == height;
}

} // namespace

Result<> init()
{
    // Installed before anything else, so that even a display that cannot be
    // reached leaves its reason behind.
    glfwSetErrorCallback(on_glfw_error);
    state.error_text.clear();
    if (glfwInit() != GLFW_TRUE)
        return Failure{state.error_text};
    return Done{};
}

void terminate()
{
    glfwTerminate();
    state.window = nullptr;
    state.key_callback = nullptr;
    state.user_pointer = nullptr;
    state.wheel_position = 0.0;
    state.framebuffer_width = 0;
    state.framebuffer_height = 0;
    state.asked_width = 0;
    state.asked_height = 0;
    state.largest_width = 0;
    state.largest_height = 0;
    state.copy_sub_buffer = nullptr;
    state.display = nullptr;
    state.drawable = 0;
    state.shown_width = 0;
    state.shown_height = 0;
    state.frame_kept = false;
    state.shown_lost = true;
}

void open_window_hint(int target, int hint)
{
    if (target == OPENGL_VERSION_MAJOR)
        state.hint_major = hint;
    else if (target == OPENGL_VERSION_MINOR)
        state.hint_minor = hint;
    else if (target == OPENGL_PROFILE)
        state.hint_profile = hint;
}

Result<> open_window(int width, int height, int red_bits, int green_bits, int blue_bits,
                     int alpha_bits, int depth_bits, int stencil_bits, int mode)
{
    if (width <= 0 && height <= 0) {
        width = 640;
        height = 480;
    } else if (width <= 0) {
        width = other_side(height, 4, 3);
    } else if (height <= 0) {
        height = other_side(width, 3, 4);
    }
    state.asked_width = width;
    state.asked_height = height;

    glfwDefaultWindowHints();
    if (red_bits > 0) glfwWindowHint(GLFW_RED_BITS, red_bits);
    if (green_bits > 0) glfwWindowHint(GLFW_GREEN_BITS, green_bits);
    if (blue_bits > 0) glfwWindowHint(GLFW_BLUE_BITS, blue_bits);
    if (alpha_bits > 0) glfwWindowHint(GLFW_ALPHA_BITS, alpha_bits);
    glfwWindowHint(GLFW_DEPTH_BITS, depth_bits);
    glfwWindowHint(GLFW_STENCIL_BITS, stencil_bits);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, state.hint_major);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, state.hint_minor);
    if (state.hint_profile == OPENGL_COMPAT_PROFILE)
        glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_COMPAT_PROFILE);
    else if (state.hint_profile == OPENGL_CORE_PROFILE)
        glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    // The game switches on sRGB writes; GLFW 3 gives an sRGB-capable
    // framebuffer only when asked.
    glfwWindowHint(GLFW_SRGB_CAPABLE, GLFW_TRUE);
    // GLFW 2.7 windows could not be resized by the player.
    glfwWindowHint(GLFW_RESIZABLE, GLFW_FALSE);
    // The class desktops match against the menu entry's StartupWMClass, to
    // show the window under the entry's name and icon.
    glfwWindowHintString(GLFW_X11_CLASS_NAME, "tirak");
    glfwWindowHintString(GLFW_X11_INSTANCE_NAME, "tirak");

    GLFWmonitor* monitor = mode == FULLSCREEN ? glfwGetPrimaryMonitor() : nullptr;
    if (monitor == nullptr) {
        // GLFW draws the first frame while it opens the window: at a size
        // past the driver's limits that alone can crash it.
        int screen_width = 0;
        int screen_height = 0;
        screen_size(&screen_width, &screen_height);
        width = std::min(width, screen_width);
        height = std::min(height, screen_height);
        glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    }
    GLFWwindow* const window = glfwCreateWindow(width, height, "Tirak", monitor, nullptr);
    if (!window)
        return Failure{state.error_text};
    state.window = window;
    glfwSetWindowUserPointer(window, &state);
    glfwMakeContextCurrent(window);
    // Frames are paced by sleeping, so swaps must not wait for the display.
    glfwSwapInterval(0);
    // Escape is polled once a frame; a tap shorter than a frame must still
    // read as pressed at the next poll.
    glfwSetInputMode(window, GLFW_STICKY_KEYS, GLFW_TRUE);
    glfwSetKeyCallback(window, on_glfw_key);
    glfwSetScrollCallback(window, on_glfw_scroll);
    glfwGetFramebufferSize(window, &state.framebuffer_width, &state.framebuffer_height);
    glfwSetFramebufferSizeCallback(window, on_glfw_framebuffer_size);
    glfwSetWindowRefreshCallback(window, on_glfw_refresh);
    return Done{};
}

void set_fullscreen(bool whole_screen)
{
    GLFWmonitor* const monitor = glfwGetPrimaryMonitor();
    if (!state.window || monitor == nullptr || is_fullscreen() == whole_screen)
        return;
    if (whole_screen) {
        glfwSetWindowMonitor(state.window, monitor, 0, 0, state.asked_width, state.asked_height, GLFW_DONT_CARE);
        return;
    }
    int screen_width = 0;
    int screen_height = 0;
    screen_size(&screen_width, &screen_height);
    const int width = std::min(state.asked_width, screen_width);
    const int height = std::min(state.asked_height, screen_height);
    glfwSetWindowMonitor(state.window, nullptr, (screen_width - width) / 2, (screen_height - height) / 2, width, height,
                         GLFW_DONT_CARE);
}

bool is_fullscreen()
{
    return state.window && glfwGetWindowMonitor(state.window) != nullptr;
}

void get_asked_window_size(int* width, int* height)
{
    *width = state.asked_width;
    *height = state.asked_height;
}

int show_window(int largest_width, int largest_height)
{
    if (!state.window)
        return 0;
    state.largest_width = std::clamp(largest_width, 1, LARGEST_WINDOW_SIDE);
    state.largest_height = std::clamp(largest_height, 1, LARGEST_WINDOW_SIDE);
    if (glfwGetWindowMonitor(state.window) != nullptr)
        return 0;
    // Framebuffer pixels per window unit, as the hidden window has them.
    int window_width = 0;
    int window_height = 0;
    glfwGetWindowSize(state.window, &window_width, &window_height);
    const double x_scale = window_width > 0 ? static_cast<double>(state.framebuffer_width) / window_width : 1.0;
    const double y_scale = window_height > 0 ? static_cast<double>(state.framebuffer_height) / window_height : 1.0;
    const auto fitted = [](int asked, double scale, int largest) {
        return std::max(1, std::min(asked, static_cast<int>(largest / std::max(1.0, scale))));
    };
    const int width = fitted(state.asked_width, x_scale, state.largest_width);
    const int height = fitted(state.asked_height, y_scale, state.largest_height);
    if (width != window_width || height != window_height)
        glfwSetWindowSize(state.window, width, height);
    glfwShowWindow(state.window);
    glfwGetFramebufferSize(state.window, &state.framebuffer_width, &state.framebuffer_height);
    return width < state.asked_width || height < state.asked_height ? 1 : 0;
}

void follow_window_size()
{
    if (!state.window)
        return;
    int width = 0;
    int height = 0;
    glfwGetFramebufferSize(state.window, &width, &height);
    if (width > 0 && height > 0) {
        state.framebuffer_width = width;
        state.framebuffer_height = height;
    }
    keep_within(state, width, height);
}

bool is_focused()
{
    return state.window != nullptr && glfwGetWindowAttrib(state.window, GLFW_FOCUSED) == GLFW_TRUE;
}

void set_clipboard(const std::string& text)
{
    if (state.window)
        glfwSetClipboardString(state.window, text.c_str());
}

std::string get_clipboard()
{
    if (!state.window)
        return "";
    const char* text = glfwGetClipboardString(state.window);
    return text ? text : "";
}

void set_window_title(const char* title)
{
    if (state.window)
        glfwSetWindowTitle(state.window, title);
}

void set_window_icon(int width, int height, const std::vector<uint8_t>& rgba)
{
    if (!state.window || width <= 0 || height <= 0 ||
        rgba.size() != static_cast<size_t>(width) * static_cast<size_t>(height) * 4)
        return;
    // GLFW copies the pixels before it returns.
    GLFWimage image{width, height, const_cast<unsigned char*>(rgba.data())};
    glfwSetWindowIcon(state.window, 1, &image);
}

void get_window_size(int* width, int* height)
{
    *width = 0;
    *height = 0;
    if (state.window)
        glfwGetWindowSize(state.window, width, height);
}

void get_framebuffer_size(int* width, int* height)
{
    *width = state.framebuffer_width;
    *height = state.framebuffer_height;
}

void set_key_callback(KeyCallback callback)
{
    state.key_callback = callback;
}

void set_user_pointer(void* pointer)
{
    state.user_pointer = pointer;
}

void* get_user_pointer()
{
    return state.user_pointer;
}

int get_key(int key)
{
    if (!state.window)
        return RELEASE;
    const int new_key = to_new_key(key);
    if (new_key == GLFW_KEY_UNKNOWN)
        return RELEASE;
    return glfwGetKey(state.window, new_key) == GLFW_PRESS ? PRESS : RELEASE;
}

std::string key_label(int key)
{
    if (key <= KEY_SPACE || key >= KEY_SPECIAL)
        return {};
    const char* name = glfwGetKeyName(to_new_key(key), 0);
    return name != nullptr ? name : "";
}

void disable_mouse_cursor()
{
    if (!state.window)
        return;
    glfwSetInputMode(state.window, GLFW_CURSOR, GLFW_CURSOR_DISABLED);
    // GLFW 3 warps the hidden cursor to the window's centre; let that warp
    // arrive now, so that it is never read as motion of the player's mouse.
    glfwPollEvents();
}

void get_mouse_pos(int* x, int* y)
{
    double fx = 0.0;
    double fy = 0.0;
    if (state.window)
        glfwGetCursorPos(state.window, &fx, &fy);
    *x = static_cast<int>(std::floor(fx));
    *y = static_cast<int>(std::floor(fy));
}

int get_mouse_wheel()
{
    return static_cast<int>(std::lround(state.wheel_position));
}

int get_window_param(int param)
{
    if (param == OPENED)
        return state.window && !glfwWindowShouldClose(state.window) ? 1 : 0;
    return 0;
}

double get_time()
{
    return glfwGetTime();
}

void sleep(double seconds)
{
    using clock = std::chrono::steady_clock;
    constexpr double minimum = 0.001;
    if (seconds <= minimum) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return;
    }
    // A plain sleep oversleeps, which adds up to a visibly slower frame
    // rate: sleep to just short of the deadline, then yield until it has
    // come. Yielding is busy work, so the sleep is made precise and the
    // margin kept as narrow as this machine's wake-ups allow: Linux lets a
    // sleeping thread wake up to 50 us late on purpose unless told otherwise.
#ifdef __linux__
    static const bool precise = prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL) == 0;
#else
    constexpr bool precise = false;
#endif
    static WakeMargin wake_margin; // only the main loop's thread sleeps here
    const double margin = precise ? wake_margin.seconds() : minimum;
    const auto start = clock::now();
    const auto deadline = start + std::chrono::duration<double>(seconds);
    const auto coarse = std::chrono::duration<double>(seconds - margin);
    // A sleep shorter than the margin is all waiting, and says nothing of
    // how late a wake-up comes.
    if (coarse.count() > 0.0) {
        std::this_thread::sleep_for(coarse);
        if (precise)
            wake_margin.overslept(std::chrono::duration<double>(clock::now() - (start + coarse)).count());
    }
    while (clock::now() < deadline)
        std::this_thread::yield();
}

void swap_buffers()
{
    swap_buffers({WindowArea{0, 0, state.framebuffer_width, state.framebuffer_height}});
}

void swap_buffers(const std::vector<WindowArea>& changed)
{
    if (!state.window)
        return;
    // The driver takes the window's new size only at a swap: a frame drawn
    // since a resize is shown by one, and the buffers the driver then
    // makes hold nothing.
    const int whole_width = state.framebuffer_width;
    const int whole_height = state.framebuffer_height;
    state.frame_kept = state.copy_sub_buffer && whole_width == state.shown_width &&
                       whole_height == state.shown_height && still_sized(whole_width, whole_height);
    if (!state.frame_kept) {
        glfwSwapBuffers(state.window);
    } else if (state.shown_lost) {
        state.copy_sub_buffer(state.display, state.drawable, 0, 0, whole_width, whole_height);
    } else {
        for (const WindowArea& area : changed)
            if (area.width > 0 && area.height > 0)
                state.copy_sub_buffer(state.display, state.drawable, area.left, area.bottom, area.width,
                                      area.height);
    }
    state.shown_width = whole_width;
    state.shown_height = whole_height;
    state.shown_lost = false;
    glfwPollEvents();
}

bool last_frame_kept()
{
    return state.frame_kept;
}

bool keep_frames_drawn()
{
    if (!state.window || glfwGetCurrentContext() != state.window ||
        !glfwExtensionSupported("GLX_MESA_copy_sub_buffer"))
        return false;
    using CopySubBuffer = decltype(state.copy_sub_buffer);
    using CurrentDisplay = void* (*)();
    using CurrentDrawable = unsigned long (*)();
    const auto copy = reinterpret_cast<CopySubBuffer>(glfwGetProcAddress("glXCopySubBufferMESA"));
    const auto display = reinterpret_cast<CurrentDisplay>(glfwGetProcAddress("glXGetCurrentDisplay"));
    const auto drawable = reinterpret_cast<CurrentDrawable>(glfwGetProcAddress("glXGetCurrentDrawable"));
    if (!copy || !display || !drawable || !display() || !drawable())
        return false;
    state.copy_sub_buffer = copy;
    state.display = display();
    state.drawable = drawable();
    return true;
}

void* get_proc_address(const char* name)
{
    return reinterpret_cast<void*>(glfwGetProcAddress(name));
}

std::vector<int> add_gamepad_mappings(const std::string& text)
{
    // The library skips a line that does not begin with a pad's GUID, and
    // one too long for its buffer, and says nothing; it refuses a broken one
    // only through the error callback.
    constexpr size_t LONGEST_MAPPING = 1023;
    std::vector<int> left_out;
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        state.error_text.clear();
        if (!std::isxdigit(static_cast<unsigned char>(line[0])) || line.size() > LONGEST_MAPPING ||
            glfwUpdateGamepadMappings(line.c_str()) != GLFW_TRUE || !state.error_text.empty())
            left_out.push_back(number);
    }
    // No later failure is to be blamed on a mapping.
    state.error_text.clear();
    return left_out;
}

static_assert(PAD_A == GLFW_GAMEPAD_BUTTON_A && PAD_Y == GLFW_GAMEPAD_BUTTON_Y && PAD_BACK == GLFW_GAMEPAD_BUTTON_BACK &&
              PAD_RIGHT_THUMB == GLFW_GAMEPAD_BUTTON_RIGHT_THUMB && PAD_DPAD_UP == GLFW_GAMEPAD_BUTTON_DPAD_UP &&
              PAD_DPAD_LEFT == GLFW_GAMEPAD_BUTTON_DPAD_LEFT && PAD_BUTTONS == GLFW_GAMEPAD_BUTTON_LAST + 1,
              "the pad's buttons are GLFW's");
static_assert(PAD_LEFT_Y == GLFW_GAMEPAD_AXIS_LEFT_Y && PAD_LEFT_TRIGGER == GLFW_GAMEPAD_AXIS_LEFT_TRIGGER &&
              PAD_AXES == GLFW_GAMEPAD_AXIS_LAST + 1,
              "the pad's axes are GLFW's");

PadState get_pad_state()
{
    PadState pad;
    GLFWgamepadstate read{};
    for (int joystick = GLFW_JOYSTICK_1; joystick <= GLFW_JOYSTICK_LAST; ++joystick) {
        if (!glfwJoystickIsGamepad(joystick) || !glfwGetGamepadState(joystick, &read))
            continue;
        pad.connected = true;
        for (int button = 0; button < PAD_BUTTONS; ++button)
            pad.buttons[static_cast<size_t>(button)] = read.buttons[button] == GLFW_PRESS;
        for (int axis = 0; axis < PAD_AXES; ++axis)
            pad.axes[static_cast<size_t>(axis)] = read.axes[axis];
        break;
    }
    return pad;
}

} // namespace platform
