// The HUD drawn by the text room: its fractions of the framebuffer turned
// into pixels, and a band behind each backed line cut to its text.
#pragma once

#include "app/hud.h"
#include "text/text_renderer.h"
#include "transforms/screen_rect.h"

#include <vector>

void draw_hud(TextRenderer& text, const HudFrame& frame, int framebuffer_width, int framebuffer_height);

// Every pixel that the text and panels of one frame and not the other may
// touch, as OpenGL counts them from the lower left corner: what must be
// drawn again to go from the one to the other.
// Each changed line or panel gives a rectangle of its own.
std::vector<ScreenRect> hud_changes(const TextRenderer& text, const HudFrame& before, const HudFrame& after,
                                    int framebuffer_width, int framebuffer_height);
