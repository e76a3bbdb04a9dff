// The window layer on a real X server: what the game relies on from the old
// window library must hold on top of GLFW 3.
#include "platform/window.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct KeyEvent {
    int key;
    int action;
};
std::vector<KeyEvent> key_events;

void record_key(int key, int action)
{
    key_events.push_back({key, action});
}

class WindowLayer : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "these tests need an X server (Xvfb)";
        ASSERT_EQ(platform::init(), 1);
        key_events.clear();
    }
    void TearDown() override { platform::terminate(); }

    void open(int width, int height)
    {
        platform::open_window_hint(platform::OPENGL_VERSION_MAJOR, 3);
        platform::open_window_hint(platform::OPENGL_VERSION_MINOR, 2);
        platform::open_window_hint(platform::OPENGL_PROFILE, platform::OPENGL_COMPAT_PROFILE);
        ASSERT_EQ(platform::open_window(width, height, 0, 0, 0, 0, 24, 8, platform::WINDOW), 1);
        platform::set_window_title("window-layer-test");
        platform::swap_buffers();
    }

    // Runs an xdotool command against our window, which it finds by title.
    static void xdotool(const std::string& arguments)
    {
        const std::string command = "xdotool search --sync --name '^window-layer-test$' "
                                    "windowfocus --sync " + arguments;
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }

    // Lets the layer handle events until the condition holds or a second passes.
    template <typename Condition> static bool pump_until(Condition condition)
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
};

TEST_F(WindowLayer, MissingSizesFollowTheOldFourToThreeRule)
{
    struct Case {
        int width, height, expected_width, expected_height;
    };
    for (const Case c : {Case{0, 0, 640, 480}, Case{0, 600, 800, 600}, Case{1000, 0, 1000, 750},
                         Case{320, 200, 320, 200}}) {
        open(c.width, c.height);
        int width = 0;
        int height = 0;
        platform::get_window_size(&width, &height);
        EXPECT_EQ(width, c.expected_width) << c.width << "x" << c.height;
        EXPECT_EQ(height, c.expected_height) << c.width << "x" << c.height;
        EXPECT_EQ(platform::get_window_param(platform::OPENED), 1);
        platform::terminate();
        EXPECT_EQ(platform::get_window_param(platform::OPENED), 0);
        ASSERT_EQ(platform::init(), 1);
    }
}

TEST_F(WindowLayer, FramebufferConvertsLinearColourToSrgb)
{
    open(64, 64);
    glEnable(GL_FRAMEBUFFER_SRGB);
    glClearColor(0.5f, 0.5f, 0.5f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    unsigned char pixel[4] = {};
    glReadPixels(8, 8, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    // Linear 0.5 is 188 in sRGB; without the conversion it would be 128.
    EXPECT_NEAR(pixel[0], 188, 2);

    // What reaches the screen is the converted value too.
    platform::swap_buffers();
    const std::string shot = ::testing::TempDir() + "srgb_window.png";
    xdotool("sleep 0.2");
    const std::string grab = "import -window \"$(xdotool search --name '^window-layer-test$' | head -n 1)\" " + shot;
    ASSERT_EQ(std::system(grab.c_str()), 0);
    const std::string probe = "convert " + shot + " -format '%[fx:int(255*p{8,8}.r+0.5)]' info:";
    FILE* pipe = popen(probe.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    int screen_red = -1;
    EXPECT_EQ(fscanf(pipe, "%d", &screen_red), 1);
    pclose(pipe);
    std::remove(shot.c_str());
    EXPECT_NEAR(screen_red, 188, 2);

    glDisable(GL_FRAMEBUFFER_SRGB);
    glClear(GL_COLOR_BUFFER_BIT);
    glReadPixels(8, 8, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    EXPECT_NEAR(pixel[0], 128, 2);
}

TEST_F(WindowLayer, KeysArriveWithOldCodesAndWithoutRepeats)
{
    open(200, 150);
    platform::set_key_callback(record_key);
    xdotool("key w F3 F5 space");
    ASSERT_TRUE(pump_until([] { return key_events.size() >= 8; }));
    const std::vector<int> expected_keys = {'W', 'W', 260, 260, 262, 262, 32, 32};
    ASSERT_EQ(key_events.size(), expected_keys.size());
    for (size_t i = 0; i < expected_keys.size(); ++i) {
        EXPECT_EQ(key_events[i].key, expected_keys[i]) << "event " << i;
        EXPECT_EQ(key_events[i].action, i % 2 == 0 ? platform::PRESS : platform::RELEASE)
            << "event " << i;
    }

    // A key held long enough for the X server to repeat it gives one press.
    key_events.clear();
    xdotool("keydown d sleep 0.8 keyup d");
    ASSERT_TRUE(pump_until([] { return key_events.size() >= 2; }));
    platform::swap_buffers();
    ASSERT_EQ(key_events.size(), 2u);
    EXPECT_EQ(key_events[0].key, 'D');
    EXPECT_EQ(key_events[0].action, platform::PRESS);
    EXPECT_EQ(key_events[1].action, platform::RELEASE);

    // Escape is polled rather than handled, so its state must be readable.
    xdotool("keydown Escape");
    EXPECT_TRUE(pump_until([] { return platform::get_key(platform::KEY_ESC) == platform::PRESS; }));
    xdotool("keyup Escape");
    EXPECT_TRUE(pump_until([] { return platform::get_key(platform::KEY_ESC) == platform::RELEASE; }));
    EXPECT_EQ(key_events.back().key, platform::KEY_ESC);

    // A tap shorter than a frame, press and release in one round of events,
    // still reads as pressed once.
    key_events.clear();
    xdotool("key --delay 0 Escape");
    ASSERT_TRUE(pump_until([] { return key_events.size() >= 2; }));
    EXPECT_EQ(platform::get_key(platform::KEY_ESC), platform::PRESS);
    EXPECT_EQ(platform::get_key(platform::KEY_ESC), platform::RELEASE);
}

TEST_F(WindowLayer, CapturedMouseReportsMotionWithoutAJumpAtTheStart)
{
    open(320, 240);
    xdotool("mousemove --window %1 17 23");
    platform::disable_mouse_cursor();
    int start_x = 0;
    int start_y = 0;
    platform::get_mouse_pos(&start_x, &start_y);
    // The cursor is warped to the centre when it is captured; the game must
    // not see that as motion.
    for (int frame = 0; frame < 10; ++frame) {
        platform::swap_buffers();
        platform::sleep(0.005);
        int x = 0;
        int y = 0;
        platform::get_mouse_pos(&x, &y);
        ASSERT_EQ(x, start_x) << "frame " << frame;
        ASSERT_EQ(y, start_y) << "frame " << frame;
    }

    xdotool("mousemove_relative -- 10 5");
    int x = start_x;
    int y = start_y;
    ASSERT_TRUE(pump_until([&] {
        platform::get_mouse_pos(&x, &y);
        return x != start_x || y != start_y;
    }));
    pump_until([] { return false; }); // let any split motion events arrive
    platform::get_mouse_pos(&x, &y);
    EXPECT_EQ(x - start_x, 10);
    EXPECT_EQ(y - start_y, 5);

    // The position is unbounded: it goes on past the window's edge.
    for (int step = 0; step < 4; ++step) {
        xdotool("mousemove_relative -- -100 0");
        pump_until([] { return false; });
    }
    platform::get_mouse_pos(&x, &y);
    EXPECT_EQ(x - start_x, 10 - 400);
}

TEST_F(WindowLayer, WheelIsAnIntegerCounter)
{
    open(200, 150);
    EXPECT_EQ(platform::get_mouse_wheel(), 0);
    xdotool("mousemove --window %1 50 50 click --repeat 3 4 click 5");
    EXPECT_TRUE(pump_until([] { return platform::get_mouse_wheel() == 2; }));
}

TEST_F(WindowLayer, SleepKeepsTheOldMinimumAndNeverWakesEarly)
{
    using clock = std::chrono::steady_clock;
    for (const double request : {-0.5, 0.0, 0.0004, 0.001, 0.004, 0.0125}) {
        const auto before = clock::now();
        platform::sleep(request);
        const double slept = std::chrono::duration<double>(clock::now() - before).count();
        EXPECT_GE(slept, request > 0.001 ? request : 0.001) << "asked for " << request;
    }
}

} // namespace
