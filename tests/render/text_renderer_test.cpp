// Text and panels drawn by Mesa into a real window, read back as pixels.
#include "gl_test.h"

#include "app/hud_drawing.h"
#include "text/text_renderer.h"

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

namespace {

constexpr int CANVAS_WIDTH = 320;  // pixels
constexpr int CANVAS_HEIGHT = 120;
constexpr float EM = 40.0f; // pixels to the em
constexpr float BASELINE = 70.0f;

const GlyphAtlasResult& dejavu_atlas()
{
    static const GlyphAtlasResult loaded = load_glyph_atlas("DejaVu Sans");
    return loaded;
}

class TextRendererTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        open_gl_window(CANVAS_WIDTH, CANVAS_HEIGHT);
        ASSERT_EQ(dejavu_atlas().problem(), "");
        text = std::make_unique<TextRenderer>();
        text->take_atlas(dejavu_atlas().value());
        ASSERT_TRUE(text->ready());
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    void TearDown() override
    {
        text.reset();
        platform::terminate();
    }

    // The back buffer, top row first, RGB.
    std::array<uint8_t, 3> pixel(int x, int y) const
    {
        std::array<uint8_t, 3> rgb{};
        glReadPixels(x, CANVAS_HEIGHT - 1 - y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        return rgb;
    }

    std::unique_ptr<TextRenderer> text;
};

} // namespace

// Each line lights pixels only within its measured span, from the font's
// height above the baseline to a quarter em below it; at alpha 0 none.
TEST_F(TextRendererTest, DrawsWithinTheMeasuredBox)
{
    const struct {
        const char* name;
        TextAlign align;
        float alpha;
        float x;
    } rows[] = {
        {"left", TextAlign::LEFT, 1.0f, 20.0f},
        {"centred, half faded", TextAlign::CENTRE, 0.5f, CANVAS_WIDTH / 2.0f},
        {"right", TextAlign::RIGHT, 1.0f, CANVAS_WIDTH - 20.0f},
        {"faded out", TextAlign::LEFT, 0.0f, 20.0f},
    };
    const char* const LINE = "Level 4 \xC2\xB7 par 4";
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        glClear(GL_COLOR_BUFFER_BIT);
        text->add_text(LINE, row.x, BASELINE, EM, {1.0f, 1.0f, 1.0f, row.alpha}, row.align);
        text->flush(CANVAS_WIDTH, CANVAS_HEIGHT);
        const float width = text->measure(LINE, EM);
        const float left = row.align == TextAlign::LEFT ? row.x : row.align == TextAlign::CENTRE ? row.x - width / 2 : row.x - width;
        const float top = BASELINE - text->ascender(EM);
        const float bottom = BASELINE + EM / 4;
        constexpr float MARGIN = 2.0f; // pixels: rounding and the smoothstep's half pixel
        int inside = 0;
        int outside = 0;
        uint8_t brightest = 0;
        for (int y = 0; y < CANVAS_HEIGHT; ++y)
            for (int x = 0; x < CANVAS_WIDTH; ++x) {
                const uint8_t red = pixel(x, y)[0];
                const bool in_box = x >= left - MARGIN && x <= left + width + MARGIN && y >= top - MARGIN &&
                                    y <= bottom + MARGIN;
                (in_box ? inside : outside) += red > 0;
                brightest = std::max(brightest, red);
            }
        EXPECT_EQ(outside, 0);
        if (row.alpha == 0.0f) {
            EXPECT_EQ(inside, 0);
            continue;
        }
        EXPECT_GT(inside, static_cast<int>(width * EM / 10)) << "strokes cover a good part of the box";
        EXPECT_NEAR(brightest, 255 * row.alpha, 2) << "a stroke's middle is fully covered";
    }
}

// A panel queued after the text is still drawn under it; both blend over
// the scene, and the state the scene renderer left is there afterwards.
// The renderer is built as the game builds it, before the atlas: nothing is
// drawn until the atlas comes, and the pixel drawn to have the driver make
// its code keeps what it held.
TEST_F(TextRendererTest, PanelsGoUnderTextAndTheStateIsPutBack)
{
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_TRUE);
    glEnable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glActiveTexture(GL_TEXTURE1);
    glClearColor(0.0f, 0.4f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    const std::array<uint8_t, 3> GREEN{0, 102, 0};
    TextRenderer built_in_two;
    const auto draw = [&] {
        built_in_two.add_text("l", 100.0f, BASELINE, 2 * EM, {1.0f, 1.0f, 1.0f, 1.0f});
        built_in_two.add_panel({20.0f, 10.0f}, {200.0f, 80.0f}, {0.0f, 0.0f, 1.0f, 0.5f});
        built_in_two.flush(CANVAS_WIDTH, CANVAS_HEIGHT);
    };
    EXPECT_FALSE(built_in_two.ready());
    draw();
    for (const auto& [x, y] : {std::pair{0, 0}, {40, 50}})
        EXPECT_EQ(pixel(x, y), GREEN) << "before the atlas, at " << x << ", " << y;
    built_in_two.take_atlas(dejavu_atlas().value());
    ASSERT_TRUE(built_in_two.ready());
    draw();

    const std::array<uint8_t, 3> WHITE{255, 255, 255};
    const std::array<uint8_t, 3> HALF_BLUE_OVER_GREEN{0, 51, 128};
    const int stroke_x = static_cast<int>(100.0f + built_in_two.measure("l", 2 * EM) / 2);
    EXPECT_EQ(pixel(stroke_x, static_cast<int>(BASELINE - EM)), WHITE) << "the middle of l's stroke";
    EXPECT_EQ(pixel(40, 50), HALF_BLUE_OVER_GREEN);
    EXPECT_EQ(pixel(260, 100), GREEN);

    GLint value = 0;
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    GLboolean depth_mask = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depth_mask);
    EXPECT_EQ(depth_mask, GL_TRUE);
    glGetIntegerv(GL_BLEND_SRC_RGB, &value);
    EXPECT_EQ(value, GL_SRC_ALPHA);
    glGetIntegerv(GL_ACTIVE_TEXTURE, &value);
    EXPECT_EQ(value, GL_TEXTURE1);
    for (GLenum binding : {GL_CURRENT_PROGRAM, GL_VERTEX_ARRAY_BINDING, GL_ARRAY_BUFFER_BINDING}) {
        glGetIntegerv(binding, &value);
        EXPECT_EQ(value, 0) << std::hex << binding;
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// What the HUD changes from one frame to the next holds every pixel that
// differs between the two, and nothing is changed between two frames alike.
TEST_F(TextRendererTest, TheHudsChangesHoldEveryPixelThatDiffers)
{
    const auto line = [](const char* words, float x, HudAlign align, bool backed) {
        return HudLine{words, {x, BASELINE / CANVAS_HEIGHT}, EM / CANVAS_HEIGHT, glm::vec4(1.0f), align, backed};
    };
    const HudFrame left{{}, {line("Ready", 0.05f, HudAlign::LEFT, false)}};
    const HudFrame moved{{}, {line("Ready", 0.3f, HudAlign::LEFT, false)}};
    const HudFrame backed{{{{0.7f, 0.1f}, {0.95f, 0.3f}, {0.0f, 0.0f, 1.0f, 1.0f}}},
                          {line("Wy", 0.95f, HudAlign::RIGHT, true), left.lines[0]}};
    const auto drawn = [&](const HudFrame& frame) {
        glClear(GL_COLOR_BUFFER_BIT);
        draw_hud(*text, frame, CANVAS_WIDTH, CANVAS_HEIGHT);
        std::vector<uint8_t> rgb(CANVAS_WIDTH * CANVAS_HEIGHT * 3);
        glReadPixels(0, 0, CANVAS_WIDTH, CANVAS_HEIGHT, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        return rgb;
    };
    const struct {
        const char* name;
        HudFrame before, after;
    } rows[] = {{"one line comes", {}, left}, {"it moves", left, moved}, {"a panel and a band", left, backed}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::vector<ScreenRect> changed = hud_changes(*text, row.before, row.after, CANVAS_WIDTH, CANVAS_HEIGHT);
        EXPECT_TRUE(hud_changes(*text, row.after, row.after, CANVAS_WIDTH, CANVAS_HEIGHT).empty());
        const std::vector<uint8_t> before = drawn(row.before);
        const std::vector<uint8_t> after = drawn(row.after);
        int differing = 0;
        int outside = 0;
        for (int y = 0; y < CANVAS_HEIGHT; ++y)
            for (int x = 0; x < CANVAS_WIDTH; ++x) {
                const size_t at = (static_cast<size_t>(y) * CANVAS_WIDTH + x) * 3;
                if (std::equal(&before[at], &before[at] + 3, &after[at]))
                    continue;
                ++differing;
                outside += std::none_of(changed.begin(), changed.end(), [&](const ScreenRect& r) {
                    return x >= r.left && x < r.right && y >= r.bottom && y < r.top;
                });
            }
        EXPECT_GT(differing, 100);
        EXPECT_EQ(outside, 0);
    }
}
