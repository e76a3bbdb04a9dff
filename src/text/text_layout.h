// Setting a line of text from the atlas: where each glyph goes on the
// screen and where it comes from in the atlas. No OpenGL.
#pragma once

#include "text/glyph_atlas.h"

#include <string_view>
#include <vector>

enum class TextAlign { LEFT, CENTRE, RIGHT };

// One glyph's box in framebuffer pixels (y down from the top edge) and in
// the atlas (0 to 1 across and down).
struct GlyphQuad {
    float left = 0.0f;
    float top = 0.0f;
    float right = 0.0f;
    float bottom = 0.0f;
    float atlas_left = 0.0f;
    float atlas_top = 0.0f;
    float atlas_right = 0.0f;
    float atlas_bottom = 0.0f;
};

// The codepoints of UTF-8 text; a byte that starts no valid character
// gives U+FFFD, which the atlas draws as '?'.
std::vector<uint32_t> decode_utf8(std::string_view text);

// How far the pen moves over the text, in pixels, at `pixel_height`
// pixels to the em: advances and kerning.
float measure_text(const GlyphAtlas& atlas, std::string_view text, float pixel_height);

// Appends the boxes of the text's visible glyphs. `x` is the left end, the
// middle or the right end of the text as `align` says; `baseline` is the
// baseline's height from the top of the framebuffer. Both are rounded to
// whole pixels, so that small text lands on the pixel grid.
void lay_out_text(const GlyphAtlas& atlas, std::string_view text, float x, float baseline, float pixel_height,
                  TextAlign align, std::vector<GlyphQuad>& quads);
