#include "text/text_renderer.h"

#include "gl/program_builder.h"
#include "gl/saved_gl_state.h"

#include <GL/glew.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <iostream>

namespace {

// The shaders live here rather than in data/Shaders: text is optional, so
// nothing a player can delete or break should be able to take it away or
// end the game, and the program is part of this room, not of the look of a
// level.
const char* const TEXT_VERTEX_SOURCE = R"(#version 150
uniform vec2 pixels_to_clip;
in vec2 in_position;
in vec2 in_atlas;
in vec4 in_colour;
out vec2 atlas_position;
out vec4 colour;
void main()
{
    atlas_position = in_atlas;
    colour = in_colour;
    gl_Position = vec4(in_position * pixels_to_clip + vec2(-1.0, 1.0), 0.0, 1.0);
}
)";

// The atlas holds the distance to the outline, 128/255 on it. Coverage
// rises from 0 to 1 across one pixel centred on the outline, whatever the
// glyph's size on screen: fwidth says how much the distance changes from
// one pixel to the next. A dark halo half the field's spread wide keeps
// light text readable over the bright walls without a panel behind it,
// which would cost far more pixels. The output is premultiplied.
const char* const GLYPH_FRAGMENT_SOURCE = R"(#version 150
uniform sampler2D atlas;
in vec2 atlas_position;
in vec4 colour;
out vec4 out_color;
const float EDGE = 128.0 / 255.0;
const float HALO_EDGE = 64.0 / 255.0;
const float HALO_OPACITY = 0.7;
void main()
{
    float distance = texture(atlas, atlas_position).r;
    float band = max(0.5 * fwidth(distance), 1.0 / 255.0);
    float fill = smoothstep(EDGE - band, EDGE + band, distance);
    float halo = smoothstep(HALO_EDGE - band, HALO_EDGE + band, distance) * HALO_OPACITY;
    float coverage = mix(halo, 1.0, fill) * colour.a;
    out_color = vec4(colour.rgb * fill * colour.a, coverage);
}
)";

// Panels have a program of their own, drawn before the glyphs from the same
// vertex buffer: Mesa's software renderer fills a flat colour at under half
// the cost of a sampled one, and a title card's panel is larger than all
// its text.
const char* const PANEL_FRAGMENT_SOURCE = R"(#version 150
in vec2 atlas_position;
in vec4 colour;
out vec4 out_color;
void main()
{
    out_color = vec4(colour.rgb * colour.a, colour.a);
}
)";

constexpr GLuint TEXT_POSITION_LOCATION = 0;
constexpr GLuint ATLAS_LOCATION = 1;
constexpr GLuint COLOUR_LOCATION = 2;
constexpr float BYTE_MAX = 255.0f;

// The texture the atlas goes into. Until it comes the texture holds a few
// blank rows, for the first drawing, which has the driver make its code.
// Mesa's software renderer makes other code for a side that is a power of
// two, so they are shaped as an atlas is: its width, and a height that is
// not one.
constexpr GLsizei PLACEHOLDER_WIDTH = GLYPH_ATLAS_WIDTH;
constexpr GLsizei PLACEHOLDER_HEIGHT = 3;

void upload_texels(GLsizei width, GLsizei height, const uint8_t* texels)
{
    GLint unpack_alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &unpack_alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_R8, width, height, 0, GL_RED, GL_UNSIGNED_BYTE, texels);
    glPixelStorei(GL_UNPACK_ALIGNMENT, unpack_alignment);
}

GLuint make_atlas_texture()
{
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    const std::vector<uint8_t> blank(size_t{PLACEHOLDER_WIDTH} * PLACEHOLDER_HEIGHT, 0);
    upload_texels(PLACEHOLDER_WIDTH, PLACEHOLDER_HEIGHT, blank.data());
    // Bilinear, without mip levels: the field's values between texels are
    // what the smoothstep needs, and at 12 pixels to the em one screen pixel
    // spans under three texels, well inside the field's spread.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    return texture;
}

void point_attribute(GLuint location, GLint components, GLenum type, GLboolean normalized, size_t offset,
                     GLsizei stride)
{
    glEnableVertexAttribArray(location);
    glVertexAttribPointer(location, components, type, normalized, stride,
                          reinterpret_cast<const void*>(offset));
}

uint8_t to_byte(float channel)
{
    return static_cast<uint8_t>(std::lround(std::clamp(channel, 0.0f, 1.0f) * BYTE_MAX));
}

// Both programs share the vertex stage and its attribute locations, so that
// one vertex array feeds them. Returns 0 when the driver refuses one.
GLuint build_text_program(const char* fragment_source)
{
    return build_overlay_program(TEXT_VERTEX_SOURCE, fragment_source,
                                 {{TEXT_POSITION_LOCATION, "in_position"}, {ATLAS_LOCATION, "in_atlas"},
                                  {COLOUR_LOCATION, "in_colour"}});
}

} // namespace

TextRenderer::TextRenderer()
{
    const GLuint glyph_program = build_text_program(GLYPH_FRAGMENT_SOURCE);
    const GLuint panel_program = glyph_program == 0 ? 0 : build_text_program(PANEL_FRAGMENT_SOURCE);
    if (panel_program == 0) {
        glDeleteProgram(glyph_program);
        std::cerr << "The text program did not link; playing without text." << std::endl;
        return;
    }

    const SavedGlState saved;
    glyph_program_ = glyph_program;
    panel_program_ = panel_program;
    glyph_pixels_to_clip_ = glGetUniformLocation(glyph_program_, "pixels_to_clip");
    panel_pixels_to_clip_ = glGetUniformLocation(panel_program_, "pixels_to_clip");
    glUseProgram(glyph_program_);
    glUniform1i(glGetUniformLocation(glyph_program_, "atlas"), 0);
    texture_ = make_atlas_texture();

    glGenVertexArrays(1, &vertex_array_);
    glBindVertexArray(vertex_array_);
    glGenBuffers(1, &buffer_);
    glBindBuffer(GL_ARRAY_BUFFER, buffer_);
    constexpr GLsizei STRIDE = sizeof(Vertex);
    point_attribute(TEXT_POSITION_LOCATION, 2, GL_FLOAT, GL_FALSE, offsetof(Vertex, x), STRIDE);
    point_attribute(ATLAS_LOCATION, 2, GL_FLOAT, GL_FALSE, offsetof(Vertex, u), STRIDE);
    point_attribute(COLOUR_LOCATION, 4, GL_UNSIGNED_BYTE, GL_TRUE, offsetof(Vertex, colour), STRIDE);

    // The top left pixel, blended with nothing under the premultiplied
    // blending every text has: it keeps exactly what it held.
    GlyphQuad pixel;
    pixel.right = 1.0f;
    pixel.bottom = 1.0f;
    add_quad(panel_vertices_, pixel, glm::vec4(0.0f));
    add_quad(text_vertices_, pixel, glm::vec4(0.0f));
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    flush(viewport[2], viewport[3]);
}

void TextRenderer::take_atlas(GlyphAtlas atlas)
{
    if (glyph_program_ == 0 || atlas.texels.empty())
        return;
    const SavedGlState saved;
    atlas_ = std::move(atlas);
    glBindTexture(GL_TEXTURE_2D, texture_);
    upload_texels(atlas_.width, atlas_.height, atlas_.texels.data());
    atlas_.texels = {};
}

void TextRenderer::add_quad(std::vector<Vertex>& to, const GlyphQuad& quad, glm::vec4 colour)
{
    Vertex corner;
    for (int k = 0; k < 4; ++k)
        corner.colour[k] = to_byte(colour[k]);
    const auto push = [&](float x, float y, float u, float v) {
        corner.x = x;
        corner.y = y;
        corner.u = u;
        corner.v = v;
        to.push_back(corner);
    };
    push(quad.left, quad.top, quad.atlas_left, quad.atlas_top);
    push(quad.right, quad.top, quad.atlas_right, quad.atlas_top);
    push(quad.right, quad.bottom, quad.atlas_right, quad.atlas_bottom);
    push(quad.left, quad.top, quad.atlas_left, quad.atlas_top);
    push(quad.right, quad.bottom, quad.atlas_right, quad.atlas_bottom);
    push(quad.left, quad.bottom, quad.atlas_left, quad.atlas_bottom);
}

void TextRenderer::add_text(std::string_view text, float x, float baseline, float pixel_height, glm::vec4 colour,
                            TextAlign align)
{
    if (!ready() || colour.a <= 0.0f)
        return;
    quads_.clear();
    lay_out_text(atlas_, text, x, baseline, pixel_height, align, quads_);
    for (const GlyphQuad& quad : quads_)
        add_quad(text_vertices_, quad, colour);
}

void TextRenderer::add_panel(glm::vec2 top_left, glm::vec2 size, glm::vec4 colour)
{
    if (!ready() || colour.a <= 0.0f)
        return;
    const float u = (static_cast<float>(atlas_.solid_x)) / static_cast<float>(atlas_.width);
    const float v = (static_cast<float>(atlas_.solid_y)) / static_cast<float>(atlas_.height);
    GlyphQuad quad;
    quad.left = top_left.x;
    quad.top = top_left.y;
    quad.right = top_left.x + size.x;
    quad.bottom = top_left.y + size.y;
    quad.atlas_left = quad.atlas_right = u;
    quad.atlas_top = quad.atlas_bottom = v;
    add_quad(panel_vertices_, quad, colour);
}

float TextRenderer::measure(std::string_view text, float pixel_height) const
{
    return measure_text(atlas_, text, pixel_height);
}

float TextRenderer::ascender(float pixel_height) const
{
    return atlas_.ascender * pixel_height / static_cast<float>(GLYPH_EM_TEXELS);
}

float TextRenderer::line_height(float pixel_height) const
{
    return atlas_.line_height * pixel_height / static_cast<float>(GLYPH_EM_TEXELS);
}

void TextRenderer::flush(int framebuffer_width, int framebuffer_height)
{
    const GLsizei panel_count = static_cast<GLsizei>(panel_vertices_.size());
    const GLsizei glyph_count = static_cast<GLsizei>(text_vertices_.size());
    panel_vertices_.insert(panel_vertices_.end(), text_vertices_.begin(), text_vertices_.end());
    text_vertices_.clear();
    if (panel_vertices_.empty() || framebuffer_width <= 0 || framebuffer_height <= 0) {
        panel_vertices_.clear();
        return;
    }

    const SavedGlState saved;
    glDisable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);
    glDisable(GL_CULL_FACE);
    // Colours are blended as they are stored, as in every picture editor:
    // blended in linear light, light text on a dark scene looks bolder than
    // the same text dark on light.
    glDisable(GL_FRAMEBUFFER_SRGB);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);

    const float to_clip_x = 2.0f / static_cast<float>(framebuffer_width);
    const float to_clip_y = -2.0f / static_cast<float>(framebuffer_height);
    glBindVertexArray(vertex_array_);
    glBindBuffer(GL_ARRAY_BUFFER, buffer_);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(panel_vertices_.size() * sizeof(Vertex)),
                 panel_vertices_.data(), GL_STREAM_DRAW);
    panel_vertices_.clear();
    if (panel_count > 0) {
        glUseProgram(panel_program_);
        glUniform2f(panel_pixels_to_clip_, to_clip_x, to_clip_y);
        glDrawArrays(GL_TRIANGLES, 0, panel_count);
    }
    if (glyph_count > 0) {
        glUseProgram(glyph_program_);
        glUniform2f(glyph_pixels_to_clip_, to_clip_x, to_clip_y);
        glBindTexture(GL_TEXTURE_2D, texture_);
        glDrawArrays(GL_TRIANGLES, panel_count, glyph_count);
    }
}
