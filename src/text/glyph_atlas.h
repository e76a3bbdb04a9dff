// The font's glyphs as signed distance fields in one single-channel image,
// with what is needed to set a line of text from them. No OpenGL: the atlas
// is made on the reader thread while the window opens, and uploaded later.
#pragma once

#include "result/result.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The size the glyphs are rendered at, in atlas texels to the em. Text is
// drawn from about 12 to about 120 pixels to the em: a distance field keeps
// its edges sharp when magnified, and 32 texels keep the corners of a
// 120-pixel title within a few pixels of round while the atlas builds in
// tens of milliseconds.
constexpr int GLYPH_EM_TEXELS = 32;
// How far the distance field reaches either side of an outline, in texels.
// It must cover the smoothstep's band, half a screen pixel either side of
// the outline, at the smallest size: 12 pixels to the em is 32 / 12 = 2.7
// texels a pixel, so 1.3 texels. Every texel more widens each glyph's box,
// and the software renderer pays for every pixel of it; 4 texels cost a
// title card's text about a quarter more and the atlas about 15 ms more.
constexpr int GLYPH_SPREAD_TEXELS = 2;
// The atlas is this many texels wide; its height is what the glyphs need:
// DejaVu Sans's glyphs at 32 texels to the em fill 256 x 510.
constexpr int32_t GLYPH_ATLAS_WIDTH = 256;
// The distance field's value on the outline (FreeType's 128 of 255): more
// is inside the glyph, less outside.
constexpr uint8_t GLYPH_EDGE_VALUE = 128;

// Where one glyph sits in the atlas and how it is set, in texels of the
// atlas (GLYPH_EM_TEXELS to the em); the box includes the field's spread.
struct Glyph {
    uint32_t codepoint = 0;
    float advance = 0.0f;  // pen movement to the next glyph
    int32_t left = 0;      // box's left edge right of the pen
    int32_t top = 0;       // box's top edge above the baseline
    int32_t width = 0;     // box size; 0 for a glyph with no outline (space)
    int32_t height = 0;
    int32_t atlas_x = 0;   // box's top-left texel in the atlas
    int32_t atlas_y = 0;
};

// A pair of glyphs set closer (negative) or further apart than their
// advances say, in texels.
struct KerningPair {
    uint32_t left = 0;
    uint32_t right = 0;
    float adjust = 0.0f;
};

struct GlyphAtlas {
    int32_t width = 0;  // texels; rows are `width` bytes, top row first
    int32_t height = 0;
    std::vector<uint8_t> texels;
    std::vector<Glyph> glyphs;         // by codepoint, ascending
    std::vector<KerningPair> kerning;  // by (left, right), ascending
    // A block of texels wholly inside (255): a panel samples its middle to
    // be drawn by the same program, in the same draw, as the glyphs.
    int32_t solid_x = 0;
    int32_t solid_y = 0;
    float ascender = 0.0f;     // texels above the baseline a line needs
    float line_height = 0.0f;  // texels from one baseline to the next

    // The glyph for a codepoint; a character the atlas lacks is drawn as '?'.
    const Glyph& glyph(uint32_t codepoint) const;
    // The kerning between two codepoints, in texels; 0 for most pairs.
    float kern(uint32_t left, uint32_t right) const;
};

// The characters the atlas holds: printable ASCII, Latin-1 (the letters of
// the game's languages, · and ×), Œ œ Ÿ, the dashes, quotes and … and the
// arrows ← ↑ → ↓.
const std::vector<uint32_t>& atlas_codepoints();

// The atlas, or one line naming what is missing, ending "playing without
// text.".
using GlyphAtlasResult = Result<GlyphAtlas>;

// Renders the atlas from a font file. `stopping` is asked between glyphs;
// when it says yes the build gives up and returns an empty atlas.
GlyphAtlasResult build_glyph_atlas(const std::string& font_file,
                                   const std::function<bool()>& stopping = {});

// Finds a font by family name through fontconfig, and renders it.
GlyphAtlasResult load_glyph_atlas(const std::string& family,
                                  const std::function<bool()>& stopping = {});
