#include "app/hud_drawing.h"

#include <algorithm>

namespace {

constexpr float PANEL_PADDING = 0.6f; // of the widest line's height, either side

TextAlign align_of(HudAlign align)
{
    switch (align) {
    case HudAlign::CENTRE: return TextAlign::CENTRE;
    case HudAlign::RIGHT: return TextAlign::RIGHT;
    default: return TextAlign::LEFT;
    }
}

} // namespace

void draw_hud(TextRenderer& text, const HudFrame& frame, int framebuffer_width, int framebuffer_height)
{
    const float width = static_cast<float>(framebuffer_width);
    const float height = static_cast<float>(framebuffer_height);
    for (const HudPanel& panel : frame.panels) {
        glm::vec2 from = panel.from * glm::vec2(width, height);
        glm::vec2 to = panel.to * glm::vec2(width, height);
        if (panel.fit_lines) {
            // Only as wide as what it shades: a software renderer pays for
            // every pixel of it.
            float widest = 0.0f;
            float padding = 0.0f;
            for (const HudLine& line : frame.lines) {
                const float y = line.at.y * height;
                if (y < from.y || y > to.y)
                    continue;
                widest = std::max(widest, text.measure(line.text, line.height * height));
                padding = std::max(padding, line.height * height * PANEL_PADDING);
            }
            const float centre = (from.x + to.x) / 2.0f;
            from.x = centre - widest / 2.0f - padding;
            to.x = centre + widest / 2.0f + padding;
        }
        text.add_panel(from, to - from, panel.colour);
    }
    for (const HudLine& line : frame.lines)
        text.add_text(line.text, line.at.x * width, line.at.y * height, line.height * height, line.colour,
                      align_of(line.align));
    text.flush(framebuffer_width, framebuffer_height);
}
