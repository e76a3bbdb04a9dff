// The HUD drawn by the text room: its fractions of the framebuffer turned
// into pixels, and a band behind each backed line cut to its text.
#pragma once

#include "app/hud.h"
#include "text/text_renderer.h"

void draw_hud(TextRenderer& text, const HudFrame& frame, int framebuffer_width, int framebuffer_height);
