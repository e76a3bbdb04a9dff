#include "app/hud_drawing.h"

namespace {

// A backed line's band, in ems of the line: how far it reaches past the
// text either side, above the font's height and below the baseline, and
// how dark it is at full opacity. Bands only as large as their text: a
// software renderer pays for every pixel a panel shades.
constexpr float BAND_SIDE = 0.35f;
constexpr float BAND_ABOVE = 0.1f;
constexpr float BAND_BELOW = 0.3f;
const glm::vec4 BAND{0.02f, 0.03f, 0.08f, 0.6f};

TextAlign align_of(HudAlign align)
{
    switch (align) {
    case HudAlign::CENTRE: return TextAlign::CENTRE;
    case HudAlign::RIGHT: return TextAlign::RIGHT;
    default: return TextAlign::LEFT;
    }
}

void add_band(TextRenderer& text, const HudLine& line, const glm::vec2& at, float pixels)
{
    const float width = text.measure(line.text, pixels);
    float left = at.x;
    if (line.align == HudAlign::CENTRE)
        left -= width / 2.0f;
    else if (line.align == HudAlign::RIGHT)
        left -= width;
    const float top = at.y - text.ascender(pixels) - BAND_ABOVE * pixels;
    const float bottom = at.y + BAND_BELOW * pixels;
    text.add_panel({left - BAND_SIDE * pixels, top}, {width + 2.0f * BAND_SIDE * pixels, bottom - top},
                   BAND * glm::vec4(1.0f, 1.0f, 1.0f, line.colour.a));
}

} // namespace

void draw_hud(TextRenderer& text, const HudFrame& frame, int framebuffer_width, int framebuffer_height)
{
    const glm::vec2 size(static_cast<float>(framebuffer_width), static_cast<float>(framebuffer_height));
    for (const HudPanel& panel : frame.panels)
        text.add_panel(panel.from * size, (panel.to - panel.from) * size, panel.colour);
    for (const HudLine& line : frame.lines) {
        const glm::vec2 at = line.at * size;
        const float pixels = line.height * size.y;
        if (line.backed)
            add_band(text, line, at, pixels);
        text.add_text(line.text, at.x, at.y, pixels, line.colour, align_of(line.align));
    }
    text.flush(framebuffer_width, framebuffer_height);
}
