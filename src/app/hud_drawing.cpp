#include "app/hud_drawing.h"

#include <algorithm>
#include <cmath>
#include <utility>

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

// Where a line's band goes, in pixels from the top left: its top left
// corner and its size.
std::pair<glm::vec2, glm::vec2> band_of(const TextRenderer& text, const HudLine& line, const glm::vec2& at,
                                        float pixels)
{
    const float width = text.measure(line.text, pixels);
    float left = at.x;
    if (line.align == HudAlign::CENTRE)
        left -= width / 2.0f;
    else if (line.align == HudAlign::RIGHT)
        left -= width;
    const float top = at.y - text.ascender(pixels) - BAND_ABOVE * pixels;
    const float bottom = at.y + BAND_BELOW * pixels;
    return {{left - BAND_SIDE * pixels, top}, {width + 2.0f * BAND_SIDE * pixels, bottom - top}};
}

void add_band(TextRenderer& text, const HudLine& line, const glm::vec2& at, float pixels)
{
    const auto [corner, size] = band_of(text, line, at, pixels);
    text.add_panel(corner, size, BAND * glm::vec4(1.0f, 1.0f, 1.0f, line.colour.a));
}

// A rectangle given from the top left, turned to OpenGL's count from the
// lower left, whole pixels round it.
ScreenRect from_top(glm::vec2 corner, glm::vec2 size, int framebuffer_width, int framebuffer_height)
{
    return cut_to_window({static_cast<int>(std::floor(corner.x)) - 1,
                          framebuffer_height - static_cast<int>(std::ceil(corner.y + size.y)) - 1,
                          static_cast<int>(std::ceil(corner.x + size.x)) + 1,
                          framebuffer_height - static_cast<int>(std::floor(corner.y)) + 1},
                         framebuffer_width, framebuffer_height);
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

std::vector<ScreenRect> hud_changes(const TextRenderer& text, const HudFrame& before, const HudFrame& after,
                                    int framebuffer_width, int framebuffer_height)
{
    const glm::vec2 size(static_cast<float>(framebuffer_width), static_cast<float>(framebuffer_height));
    std::vector<ScreenRect> changed;
    // What one frame has and the other has not, the two ways round: a
    // fading line is in neither as it was.
    const auto add_unmatched = [&](const HudFrame& frame, const HudFrame& other) {
        const auto unmatched = [](const auto& item, const auto& items) {
            return std::find(items.begin(), items.end(), item) == items.end();
        };
        for (const HudPanel& panel : frame.panels)
            if (unmatched(panel, other.panels))
                changed.push_back(from_top(panel.from * size, (panel.to - panel.from) * size, framebuffer_width,
                                           framebuffer_height));
        // A line's glyphs stay inside its band, backed or not, but for the
        // odd descender or accent: half an em more on every side holds them.
        for (const HudLine& line : frame.lines) {
            if (!unmatched(line, other.lines))
                continue;
            const float pixels = line.height * size.y;
            const auto [corner, extent] = band_of(text, line, line.at * size, pixels);
            changed.push_back(
                from_top(corner - 0.5f * pixels, extent + glm::vec2(pixels), framebuffer_width, framebuffer_height));
        }
    };
    add_unmatched(before, after);
    add_unmatched(after, before);
    return changed;
}
