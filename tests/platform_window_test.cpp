// The window layer on a real X server: what the game relies on from the old
// window library must hold on top of GLFW 3.
#include "platform/window.h"

#include "platform/wake_margin.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// From Xlib, whose header would bring its macros (None, Bool ...) along.
extern "C" struct _XDisplay* XOpenDisplay(const char* name);

using KeyEvents = std::vector<std::pair<int, int>>; // key, action

// A window that fails to open stops the test: call it under ASSERT_NO_FATAL_FAILURE.
// It stays hidden until show_window.
void open_hidden(int width, int height)
{
    // Xvfb resets whenever its last client leaves, as it does between these
    // tests, and a window opened during the reset fails: one connection held
    // for the whole run keeps it up.
    static const auto* const held = XOpenDisplay(nullptr);
    ASSERT_NE(held, nullptr) << "these tests need an X server (Xvfb)";
    const Result<> started = platform::init();
    ASSERT_TRUE(started) << started.problem();
    platform::open_window_hint(platform::OPENGL_VERSION_MAJOR, 3);
    platform::open_window_hint(platform::OPENGL_VERSION_MINOR, 2);
    platform::open_window_hint(platform::OPENGL_PROFILE, platform::OPENGL_COMPAT_PROFILE);
    const Result<> opened = platform::open_window(width, height, 0, 0, 0, 0, 24, 8, platform::WINDOW);
    ASSERT_TRUE(opened) << opened.problem();
    platform::set_window_title("window-layer-test");
}

void open(int width, int height, int largest_width = platform::LARGEST_WINDOW_SIDE,
          int largest_height = platform::LARGEST_WINDOW_SIDE)
{
    ASSERT_NO_FATAL_FAILURE(open_hidden(width, height));
    platform::show_window(largest_width, largest_height);
    platform::swap_buffers();
}

// Runs xdotool against our window, found by its title. Its --sync waits have
// no end of their own, so a window that never shows fails here instead; like
// open(), call it under ASSERT_NO_FATAL_FAILURE.
void xdotool(const std::string& arguments)
{
    const std::string command =
        "timeout 20 xdotool search --sync --name '^window-layer-test$' windowfocus --sync " + arguments;
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

// Handles events until the condition holds or a second has passed.
template <typename Condition> bool pump_until(Condition condition)
{
    const double give_up = platform::get_time() + 1.0;
    while (platform::get_time() < give_up) {
        platform::swap_buffers();
        if (condition())
            return true;
        platform::sleep(0.005);
    }
    return false;
}

struct WindowLayer : ::testing::Test {
    void TearDown() override { platform::terminate(); }
};

TEST_F(WindowLayer, MissingSizesFollowTheOldFourToThreeRuleAndClosingEndsTheWindow)
{
    const struct { int width, height, expected_width, expected_height; } cases[] = {
        {0, 0, 640, 480}, {0, 600, 800, 600}, {1000, 0, 1000, 750}, {320, 200, 320, 200}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        ASSERT_NO_FATAL_FAILURE(open(c.width, c.height));
        int width = 0, height = 0;
        platform::get_window_size(&width, &height);
        EXPECT_EQ(width, c.expected_width);
        EXPECT_EQ(height, c.expected_height);
        EXPECT_EQ(platform::get_window_param(platform::OPENED), 1);
        platform::terminate();
        EXPECT_EQ(platform::get_window_param(platform::OPENED), 0);
    }
}

TEST_F(WindowLayer, ASizePastTheLimitsIsBroughtDownAndAResizePastThemIsPutBack)
{
    const struct { int width, height, largest_width, largest_height, expected_width, expected_height, cut; } cases[] = {
        {40000, 40000, 1000, 800, 1000, 800, 1}, // past the window system's own limit as well
        {0, 2000, 3000, 1500, 2666, 1500, 1},    // the 4:3 rule comes first
        {1600, 1200, 4096, 4096, 1600, 1200, 0}, // past the screen is allowed
        {320, 200, 1000, 800, 320, 200, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        ASSERT_NO_FATAL_FAILURE(open_hidden(c.width, c.height));
        EXPECT_EQ(platform::show_window(c.largest_width, c.largest_height), c.cut);
        int width = 0, height = 0;
        platform::get_window_size(&width, &height);
        EXPECT_EQ(std::make_pair(width, height), std::make_pair(c.expected_width, c.expected_height));
        platform::terminate();
    }

    // Resized with no window manager to refuse it, the window is put back
    // before the next frame draws, without waiting for the resize's event,
    // and the event arriving afterwards does not undo that.
    ASSERT_NO_FATAL_FAILURE(open(320, 240, 1000, 800));
    ASSERT_NO_FATAL_FAILURE(xdotool("windowsize --sync %1 5000 600"));
    platform::follow_window_size();
    int width = 0, height = 0, framebuffer_width = 0, framebuffer_height = 0;
    platform::get_window_size(&width, &height);
    platform::get_framebuffer_size(&framebuffer_width, &framebuffer_height);
    EXPECT_EQ(std::make_pair(width, height), std::make_pair(1000, 600));
    EXPECT_EQ(std::make_pair(framebuffer_width, framebuffer_height), std::make_pair(1000, 600));
    pump_until([] { return false; });
    platform::get_window_size(&width, &height);
    platform::get_framebuffer_size(&framebuffer_width, &framebuffer_height);
    EXPECT_EQ(std::make_pair(width, height), std::make_pair(1000, 600));
    EXPECT_EQ(std::make_pair(framebuffer_width, framebuffer_height), std::make_pair(1000, 600));
}

// Frames shown by copying them keep the back buffer; the driver makes a new
// one whenever it finds the window resized, which the window system may do
// at any moment, long before its event arrives. Copying the old size out of
// the smaller new buffer is an X error, which ends the program.
TEST_F(WindowLayer, AFrameShownByCopyFollowsAResizeFromOutside)
{
    const struct { const char* when; bool before_the_frame; } cases[] = {
        {"between frames", true}, {"while the frame draws", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.when);
        ASSERT_NO_FATAL_FAILURE(open(320, 240, 1000, 800)); // shown by a swap
        ASSERT_TRUE(platform::keep_frames_drawn());
        if (c.before_the_frame) {
            ASSERT_NO_FATAL_FAILURE(xdotool("windowsize --sync %1 200 150"));
        }
        platform::follow_window_size();
        int width = 0, height = 0;
        platform::get_framebuffer_size(&width, &height);
        EXPECT_EQ(std::make_pair(width, height),
                  c.before_the_frame ? std::make_pair(200, 150) : std::make_pair(320, 240));
        if (!c.before_the_frame) {
            ASSERT_NO_FATAL_FAILURE(xdotool("windowsize --sync %1 200 150"));
        }
        glClear(GL_COLOR_BUFFER_BIT);
        platform::swap_buffers({{0, 0, width, height}});
        platform::follow_window_size(); // a round trip, on which any error of the copy comes
        EXPECT_FALSE(platform::last_frame_kept());
        platform::get_framebuffer_size(&width, &height);
        EXPECT_EQ(std::make_pair(width, height), std::make_pair(200, 150));
        platform::terminate();
    }
}

// Each line of a mappings file is taken or named; a broken one leaves the others in.
TEST_F(WindowLayer, GamepadMappingsAreTakenALineAtATime)
{
    ASSERT_NO_FATAL_FAILURE(open(64, 64));
    const std::string pad = "0300000034120000cdab000010010000,Tirak Test Pad,a:b0,b:b1,x:b2,y:b3,leftx:a0,lefty:a1,";
    const std::string text = "# a comment\n" + pad + "platform:Linux,\n\n" + "0300000034120000cdab,Short GUID,a:b0,\r\n" +
                             "no mapping here\n" + pad + std::string(1000, 'x') + ",\n" + pad + "\r\n";
    EXPECT_EQ(platform::add_gamepad_mappings(text), (std::vector<int>{4, 5, 6}));
}

TEST_F(WindowLayer, AnUnreachableDisplayLeavesItsReason)
{
    const std::string display = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
    setenv("DISPLAY", ":4097", 1);
    const Result<> started = platform::init();
    EXPECT_FALSE(started);
    EXPECT_NE(started.problem().find("display"), std::string::npos) << started.problem();
    setenv("DISPLAY", display.c_str(), 1);
}

TEST_F(WindowLayer, FramebufferConvertsLinearColourToSrgbOnScreenToo)
{
    ASSERT_NO_FATAL_FAILURE(open(64, 64));
    glEnable(GL_FRAMEBUFFER_SRGB);
    glClearColor(0.5f, 0.5f, 0.5f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    unsigned char pixel[4] = {};
    glReadPixels(8, 8, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    EXPECT_NEAR(pixel[0], 188, 2); // linear 0.5; unconverted it would be 128

    platform::swap_buffers();
    ASSERT_NO_FATAL_FAILURE(xdotool("sleep 0.2"));
    FILE* pipe = popen("timeout 20 import -window \"$(xdotool search --name '^window-layer-test$' | head -n 1)\" "
                       "-format '%[fx:int(255*p{8,8}.r+0.5)]' info:", "r");
    ASSERT_NE(pipe, nullptr);
    int screen_red = -1;
    EXPECT_EQ(fscanf(pipe, "%d", &screen_red), 1);
    pclose(pipe);
    EXPECT_NEAR(screen_red, 188, 2);
}

TEST_F(WindowLayer, KeysMouseAndWheelArriveAsTheOldLibraryGaveThem)
{
    // The callback reaches its events through the pointer, set before the window opened.
    KeyEvents key_events;
    platform::set_user_pointer(&key_events);
    ASSERT_NO_FATAL_FAILURE(open(320, 240));
    platform::set_key_callback([](int key, int action) {
        static_cast<KeyEvents*>(platform::get_user_pointer())->emplace_back(key, action);
    });
    ASSERT_NO_FATAL_FAILURE(xdotool("key w F3 F5 space keydown d sleep 0.8 keyup d"));
    const KeyEvents expected = {
        {'W', platform::PRESS}, {'W', platform::RELEASE}, {260, platform::PRESS}, {260, platform::RELEASE},
        {262, platform::PRESS}, {262, platform::RELEASE}, {32, platform::PRESS},  {32, platform::RELEASE},
        {'D', platform::PRESS}, {'D', platform::RELEASE}}; // a held key never repeats
    pump_until([&] { return key_events.size() >= expected.size(); });
    pump_until([] { return false; });
    EXPECT_EQ(key_events, expected);

    // Escape is polled once a frame: held, it reads as pressed, and a tap
    // shorter than a frame still reads as pressed once.
    ASSERT_NO_FATAL_FAILURE(xdotool("keydown Escape"));
    EXPECT_TRUE(pump_until([] { return platform::get_key(platform::KEY_ESC) == platform::PRESS; }));
    ASSERT_NO_FATAL_FAILURE(xdotool("keyup Escape"));
    EXPECT_TRUE(pump_until([] { return platform::get_key(platform::KEY_ESC) == platform::RELEASE; }));
    key_events.clear();
    ASSERT_NO_FATAL_FAILURE(xdotool("key --delay 0 Escape"));
    ASSERT_TRUE(pump_until([&] { return key_events.size() >= 2; }));
    EXPECT_EQ(platform::get_key(platform::KEY_ESC), platform::PRESS);
    EXPECT_EQ(platform::get_key(platform::KEY_ESC), platform::RELEASE);

    // Capturing the cursor warps it to the centre: that is not the player's
    // motion. After it the position is an unbounded sum of the motion.
    ASSERT_NO_FATAL_FAILURE(xdotool("mousemove --window %1 17 23"));
    platform::disable_mouse_cursor();
    int start_x = 0, start_y = 0, x = 0, y = 0;
    platform::get_mouse_pos(&start_x, &start_y);
    for (int frame = 0; frame < 10; ++frame) {
        platform::swap_buffers();
        platform::sleep(0.005);
        platform::get_mouse_pos(&x, &y);
        ASSERT_EQ(std::make_pair(x, y), std::make_pair(start_x, start_y)) << "frame " << frame;
    }
    ASSERT_NO_FATAL_FAILURE(xdotool("mousemove_relative -- 10 5"));
    pump_until([] { return false; });
    platform::get_mouse_pos(&x, &y);
    EXPECT_EQ(std::make_pair(x - start_x, y - start_y), std::make_pair(10, 5));
    for (int step = 0; step < 4; ++step) {
        ASSERT_NO_FATAL_FAILURE(xdotool("mousemove_relative -- -100 0"));
        pump_until([] { return false; });
    }
    platform::get_mouse_pos(&x, &y);
    EXPECT_EQ(x - start_x, 10 - 400);

    EXPECT_EQ(platform::get_mouse_wheel(), 0);
    ASSERT_NO_FATAL_FAILURE(xdotool("click --repeat 3 4 click 5"));
    EXPECT_TRUE(pump_until([] { return platform::get_mouse_wheel() == 2; }));
}

TEST(WindowLayerSleep, KeepsTheOldMinimumAndNeverWakesEarly)
{
    using clock = std::chrono::steady_clock;
    for (const double request : {-0.5, 0.0, 0.0004, 0.001, 0.004, 0.0125}) {
        const auto before = clock::now();
        platform::sleep(request);
        const double slept = std::chrono::duration<double>(clock::now() - before).count();
        EXPECT_GE(slept, request > 0.001 ? request : 0.001) << "asked for " << request;
    }
}

// Each row: wake-ups after a fresh start, then the margin the next sleep
// must keep. Wake-ups are in milliseconds past the planned end.
TEST(WindowLayerSleep, KeepsAMarginAsWideAsTheLatestWakeUpsNeed)
{
    struct Spell {
        int sleeps;
        double late_ms;
    };
    struct Row {
        const char* name;
        std::vector<Spell> wake_ups;
        double least_ms, most_ms;
    };
    const int remembered = WakeMargin::SLEEPS_REMEMBERED;
    const std::vector<Row> rows = {
        {"nothing heard yet", {}, 0.2, 0.2},
        {"a machine that wakes on time", {{3 * remembered, 0.03}}, 0.2, 0.3},
        {"one late wake-up", {{100, 0.05}, {1, 1.4}}, 1.4, 2.0},
        {"ten seconds after it", {{100, 0.05}, {1, 1.4}, {remembered - 1, 0.05}}, 1.4, 2.0},
        {"twenty seconds after it", {{100, 0.05}, {1, 1.4}, {2 * remembered, 0.05}}, 0.2, 0.3},
        {"a wake-up as late as the widest margin", {{1, 1.9}}, 2.0, 2.0},
        {"the processor taken away after it", {{1, 1.0}, {1, 12.0}}, 1.0, 1.5},
        {"a clock that went back", {{1, -5.0}}, 0.2, 0.2},
        {"a wake-up no one could time", {{1, std::nan("")}}, 0.2, 0.2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        WakeMargin margin;
        for (const Spell& spell : row.wake_ups)
            for (int sleep = 0; sleep < spell.sleeps; ++sleep)
                margin.overslept(spell.late_ms / 1000.0);
        EXPECT_GE(margin.seconds() * 1000.0, row.least_ms - 1e-9);
        EXPECT_LE(margin.seconds() * 1000.0, row.most_ms + 1e-9);
    }
}

} // namespace
