// Text and translucent panels drawn over the finished scene: queued during
// the frame, drawn by `flush` from one vertex upload in two draw calls, the
// panels' and the glyphs'.
#pragma once

#include "text/glyph_atlas.h"
#include "text/text_layout.h"

#include <glm/glm.hpp>

#include <cstdint>
#include <string_view>
#include <vector>

class TextRenderer {
public:
    // Builds the programs, before there is an atlas to draw with, and has
    // the driver make its code for them by drawing one transparent pixel
    // through each: a software renderer makes that code at a program's
    // first drawing, which would otherwise hold up the first frame with
    // text by 10 to 20 ms. Needs the OpenGL context. When the driver
    // refuses the programs it says so in one line and the renderer draws
    // nothing. The objects end with the context, so the destructor leaves
    // OpenGL alone.
    TextRenderer();
    TextRenderer(const TextRenderer&) = delete;
    TextRenderer& operator=(const TextRenderer&) = delete;

    // Uploads the atlas: text is drawn from then on.
    void take_atlas(GlyphAtlas atlas);
    bool ready() const { return glyph_program_ != 0 && atlas_.width > 0; }

    // Positions and sizes are in framebuffer pixels, y down from the top
    // edge; `pixel_height` is the em. Colours are sRGB as a designer picks
    // them, with plain (not premultiplied) alpha: 0 draws nothing, so a
    // fade needs nothing else.
    //
    // A line of UTF-8 text; `x` is its left end, middle or right end as
    // `align` says, `baseline` its baseline.
    void add_text(std::string_view text, float x, float baseline, float pixel_height, glm::vec4 colour,
                  TextAlign align = TextAlign::LEFT);
    // A filled rectangle. Every panel is drawn before, so under, every text.
    void add_panel(glm::vec2 top_left, glm::vec2 size, glm::vec4 colour);

    // Layout figures at `pixel_height` to the em, in pixels: the pen's
    // travel over the text, the font's height above the baseline, and the
    // distance from one baseline to the next.
    float measure(std::string_view text, float pixel_height) const;
    float ascender(float pixel_height) const;
    float line_height(float pixel_height) const;

    // Draws what was queued over the framebuffer's contents, blended, with
    // no depth test, then forgets it. Every piece of OpenGL state it changes
    // is put back (see SavedGlState).
    void flush(int framebuffer_width, int framebuffer_height);

private:
    struct Vertex {
        float x = 0.0f;
        float y = 0.0f;
        float u = 0.0f;
        float v = 0.0f;
        uint8_t colour[4] = {0, 0, 0, 0};
    };
    void add_quad(std::vector<Vertex>& to, const GlyphQuad& quad, glm::vec4 colour);

    GlyphAtlas atlas_; // 0 wide until taken; without its texels once they are uploaded
    uint32_t glyph_program_ = 0; // both programs or neither
    uint32_t panel_program_ = 0;
    int32_t glyph_pixels_to_clip_ = -1; // uniform locations
    int32_t panel_pixels_to_clip_ = -1;
    uint32_t texture_ = 0;
    uint32_t vertex_array_ = 0;
    uint32_t buffer_ = 0;
    std::vector<GlyphQuad> quads_;       // scratch for one line
    std::vector<Vertex> panel_vertices_;  // drawn first
    std::vector<Vertex> text_vertices_;
};
