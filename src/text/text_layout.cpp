#include "text/text_layout.h"

#include <cmath>

namespace {

constexpr uint32_t REPLACEMENT = 0xFFFD;

float pixels_per_texel(float pixel_height)
{
    return pixel_height / static_cast<float>(GLYPH_EM_TEXELS);
}

// The length of the sequence a lead byte starts, and its payload bits; 0
// for a byte that cannot start one.
int sequence_length(uint8_t lead, uint32_t& bits)
{
    if (lead < 0x80) {
        bits = lead;
        return 1;
    }
    for (int length = 2; length <= 4; ++length) {
        const uint8_t marker = static_cast<uint8_t>(0xFF00 >> length);         // 110..., 1110..., 11110...
        const uint8_t mask = static_cast<uint8_t>(0xFF00 >> (length + 1));
        if ((lead & mask) == marker) {
            bits = lead & static_cast<uint8_t>(~mask);
            return length;
        }
    }
    return 0;
}

} // namespace

std::vector<uint32_t> decode_utf8(std::string_view text)
{
    // The smallest codepoint each length may carry: longer forms are invalid.
    constexpr uint32_t SMALLEST[5] = {0, 0, 0x80, 0x800, 0x10000};
    std::vector<uint32_t> codepoints;
    size_t at = 0;
    while (at < text.size()) {
        uint32_t codepoint = 0;
        const int length = sequence_length(static_cast<uint8_t>(text[at]), codepoint);
        bool valid = length > 0 && at + static_cast<size_t>(length) <= text.size();
        for (int k = 1; valid && k < length; ++k) {
            const uint8_t next = static_cast<uint8_t>(text[at + static_cast<size_t>(k)]);
            valid = (next & 0xC0) == 0x80;
            codepoint = (codepoint << 6) | (next & 0x3F);
        }
        valid = valid && codepoint >= SMALLEST[length] && codepoint <= 0x10FFFF;
        codepoints.push_back(valid ? codepoint : REPLACEMENT);
        at += valid ? static_cast<size_t>(length) : 1;
    }
    return codepoints;
}

float measure_text(const GlyphAtlas& atlas, std::string_view text, float pixel_height)
{
    float texels = 0.0f;
    uint32_t previous = 0;
    for (uint32_t codepoint : decode_utf8(text)) {
        texels += atlas.kern(previous, codepoint) + atlas.glyph(codepoint).advance;
        previous = codepoint;
    }
    return texels * pixels_per_texel(pixel_height);
}

void lay_out_text(const GlyphAtlas& atlas, std::string_view text, float x, float baseline, float pixel_height,
                  TextAlign align, std::vector<GlyphQuad>& quads)
{
    if (atlas.width == 0 || atlas.height == 0)
        return;
    const float scale = pixels_per_texel(pixel_height);
    float pen = x;
    if (align != TextAlign::LEFT) {
        const float width = measure_text(atlas, text, pixel_height);
        pen -= align == TextAlign::CENTRE ? 0.5f * width : width;
    }
    pen = std::round(pen);
    const float line = std::round(baseline);
    const float across = 1.0f / static_cast<float>(atlas.width);
    const float down = 1.0f / static_cast<float>(atlas.height);
    uint32_t previous = 0;
    for (uint32_t codepoint : decode_utf8(text)) {
        pen += atlas.kern(previous, codepoint) * scale;
        previous = codepoint;
        const Glyph& glyph = atlas.glyph(codepoint);
        if (glyph.width > 0) {
            GlyphQuad quad;
            quad.left = pen + static_cast<float>(glyph.left) * scale;
            quad.top = line - static_cast<float>(glyph.top) * scale;
            quad.right = quad.left + static_cast<float>(glyph.width) * scale;
            quad.bottom = quad.top + static_cast<float>(glyph.height) * scale;
            quad.atlas_left = static_cast<float>(glyph.atlas_x) * across;
            quad.atlas_top = static_cast<float>(glyph.atlas_y) * down;
            quad.atlas_right = static_cast<float>(glyph.atlas_x + glyph.width) * across;
            quad.atlas_bottom = static_cast<float>(glyph.atlas_y + glyph.height) * down;
            quads.push_back(quad);
        }
        pen += glyph.advance * scale;
    }
}
