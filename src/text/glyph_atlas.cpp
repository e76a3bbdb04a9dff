#include "text/glyph_atlas.h"

#include "text/font_lookup.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_MODULE_H

#include <algorithm>
#include <cstdio>
#include <numeric>

namespace {

// Empty texels between two boxes, so that the filter never reaches into a
// neighbour.
constexpr int32_t BOX_GAP = 1;
// The side of the solid block panels sample, in texels: the filter around
// its middle reads only solid texels.
constexpr int32_t SOLID_SIDE = 4;
constexpr uint8_t SOLID_VALUE = 255;
// FreeType's 26.6 and 16.16 fixed-point numbers.
constexpr float FROM_26_6 = 1.0f / 64.0f;
constexpr float FROM_16_16 = 1.0f / 65536.0f;

const char* const WITHOUT_TEXT = "; playing without text.";

std::string failure(const std::string& font_file, const std::string& what, FT_Error error)
{
    return font_file + ": " + what + " (error " + std::to_string(error) + ")" + WITHOUT_TEXT;
}

std::string codepoint_name(uint32_t codepoint)
{
    char name[16] = {};
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(codepoint));
    return name;
}

// A glyph's distance field before it has a place in the atlas.
struct RenderedGlyph {
    Glyph glyph;
    std::vector<uint8_t> texels; // width * height, top row first
};

// Frees FreeType's objects on every way out.
struct FreeTypeFont {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    ~FreeTypeFont()
    {
        if (face != nullptr)
            FT_Done_Face(face);
        if (library != nullptr)
            FT_Done_FreeType(library);
    }
};

// The outline is first rendered as coverage, then turned into a distance
// field by FreeType's bitmap converter (FT_RENDER_MODE_SDF on a bitmap).
// Rendered from the outline itself the field is exact at the corners, but
// it takes three times as long for the set here: start-up cannot afford it.
FT_Error render_glyph(FT_Face face, uint32_t codepoint, RenderedGlyph& rendered)
{
    const FT_UInt index = FT_Get_Char_Index(face, codepoint);
    FT_Error error = FT_Load_Glyph(face, index, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP);
    if (error != 0)
        return error;
    const FT_GlyphSlot slot = face->glyph;
    rendered.glyph.codepoint = codepoint;
    rendered.glyph.advance = static_cast<float>(slot->linearHoriAdvance) * FROM_16_16;
    if (slot->format != FT_GLYPH_FORMAT_OUTLINE || slot->outline.n_points == 0)
        return 0; // a space: an advance and nothing to draw
    error = FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL);
    if (error == 0)
        error = FT_Render_Glyph(slot, FT_RENDER_MODE_SDF);
    if (error != 0)
        return error;
    const FT_Bitmap& bitmap = slot->bitmap;
    rendered.glyph.left = slot->bitmap_left;
    rendered.glyph.top = slot->bitmap_top;
    rendered.glyph.width = static_cast<int32_t>(bitmap.width);
    rendered.glyph.height = static_cast<int32_t>(bitmap.rows);
    rendered.texels.resize(size_t{bitmap.width} * bitmap.rows);
    for (unsigned row = 0; row < bitmap.rows; ++row)
        std::copy_n(bitmap.buffer + static_cast<ptrdiff_t>(row) * bitmap.pitch, bitmap.width,
                    rendered.texels.begin() + static_cast<ptrdiff_t>(row) * bitmap.width);
    return 0;
}

// Shelves, tallest boxes first; the solid block goes in the top-left
// corner. Fills in each glyph's place and the atlas's size.
void pack(std::vector<RenderedGlyph>& rendered, GlyphAtlas& atlas)
{
    std::vector<size_t> order(rendered.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&rendered](size_t a, size_t b) {
        return rendered[a].glyph.height > rendered[b].glyph.height;
    });
    int32_t x = SOLID_SIDE + BOX_GAP;
    int32_t y = 0;
    int32_t shelf_height = SOLID_SIDE;
    for (size_t k : order) {
        Glyph& glyph = rendered[k].glyph;
        if (glyph.width == 0)
            continue;
        if (x + glyph.width > GLYPH_ATLAS_WIDTH) {
            x = 0;
            y += shelf_height + BOX_GAP;
            shelf_height = 0;
        }
        glyph.atlas_x = x;
        glyph.atlas_y = y;
        x += glyph.width + BOX_GAP;
        shelf_height = std::max(shelf_height, glyph.height);
    }
    atlas.width = GLYPH_ATLAS_WIDTH;
    atlas.height = y + shelf_height;
    atlas.texels.assign(static_cast<size_t>(atlas.width) * static_cast<size_t>(atlas.height), 0);
    for (int32_t row = 0; row < SOLID_SIDE; ++row)
        std::fill_n(atlas.texels.begin() + row * atlas.width, SOLID_SIDE, SOLID_VALUE);
    atlas.solid_x = SOLID_SIDE / 2;
    atlas.solid_y = SOLID_SIDE / 2;
    for (const RenderedGlyph& item : rendered)
        for (int32_t row = 0; row < item.glyph.height; ++row)
            std::copy_n(item.texels.begin() + row * item.glyph.width, item.glyph.width,
                        atlas.texels.begin() + (item.glyph.atlas_y + row) * atlas.width + item.glyph.atlas_x);
}

// The font's own kerning table; fonts that kern only through OpenType
// layout get none, which costs a little evenness and nothing else.
void read_kerning(FT_Face face, GlyphAtlas& atlas)
{
    if (!FT_HAS_KERNING(face))
        return;
    const float texels_per_unit = static_cast<float>(GLYPH_EM_TEXELS) / static_cast<float>(face->units_per_EM);
    for (const Glyph& left : atlas.glyphs) {
        const FT_UInt left_index = FT_Get_Char_Index(face, left.codepoint);
        for (const Glyph& right : atlas.glyphs) {
            FT_Vector delta{0, 0};
            if (FT_Get_Kerning(face, left_index, FT_Get_Char_Index(face, right.codepoint), FT_KERNING_UNSCALED,
                               &delta) == 0 &&
                delta.x != 0)
                atlas.kerning.push_back(
                    {left.codepoint, right.codepoint, static_cast<float>(delta.x) * texels_per_unit});
        }
    }
}

} // namespace

const std::vector<uint32_t>& atlas_codepoints()
{
    static const std::vector<uint32_t> codepoints = [] {
        std::vector<uint32_t> list;
        for (uint32_t c = 0x20; c <= 0x7E; ++c)
            list.push_back(c);
        // Latin-1's letters and signs: every accented letter of German,
        // French and Spanish but two, and their quotes and inverted marks.
        for (uint32_t c = 0xA0; c <= 0xFF; ++c)
            list.push_back(c);
        for (uint32_t c : {0x152u, 0x153u, 0x178u, 0x2013u, 0x2014u, 0x2018u, 0x2019u, 0x201Au, 0x201Cu, 0x201Du,
                           0x201Eu, 0x2026u, 0x2190u, 0x2191u, 0x2192u, 0x2193u})
            list.push_back(c);
        return list;
    }();
    return codepoints;
}

const Glyph& GlyphAtlas::glyph(uint32_t codepoint) const
{
    static const Glyph NOTHING;
    const auto by_codepoint = [](const Glyph& glyph, uint32_t c) { return glyph.codepoint < c; };
    for (uint32_t wanted : {codepoint, uint32_t{'?'}}) {
        const auto found = std::lower_bound(glyphs.begin(), glyphs.end(), wanted, by_codepoint);
        if (found != glyphs.end() && found->codepoint == wanted)
            return *found;
    }
    return NOTHING;
}

float GlyphAtlas::kern(uint32_t left, uint32_t right) const
{
    const auto found = std::lower_bound(kerning.begin(), kerning.end(), KerningPair{left, right, 0.0f},
                                        [](const KerningPair& a, const KerningPair& b) {
                                            return a.left != b.left ? a.left < b.left : a.right < b.right;
                                        });
    return found != kerning.end() && found->left == left && found->right == right ? found->adjust : 0.0f;
}

GlyphAtlasResult build_glyph_atlas(const std::string& font_file, const std::function<bool()>& stopping)
{
    FreeTypeFont font;
    FT_Error error = FT_Init_FreeType(&font.library);
    if (error != 0)
        return Failure{failure(font_file, "FreeType cannot start", error)};
    FT_Int spread = GLYPH_SPREAD_TEXELS;
    FT_Property_Set(font.library, "bsdf", "spread", &spread);
    error = FT_New_Face(font.library, font_file.c_str(), 0, &font.face);
    if (error != 0)
        return Failure{failure(font_file, "FreeType cannot read it", error)};
    if (!FT_IS_SCALABLE(font.face))
        return Failure{font_file + ": it has no outlines to make distance fields from" + WITHOUT_TEXT};
    error = FT_Set_Pixel_Sizes(font.face, 0, GLYPH_EM_TEXELS);
    if (error != 0)
        return Failure{failure(font_file, "FreeType cannot size it", error)};

    std::vector<RenderedGlyph> rendered;
    for (uint32_t codepoint : atlas_codepoints()) {
        if (stopping && stopping())
            return GlyphAtlas{};
        if (FT_Get_Char_Index(font.face, codepoint) == 0)
            continue; // drawn as '?'
        RenderedGlyph glyph;
        error = render_glyph(font.face, codepoint, glyph);
        if (error != 0)
            return Failure{failure(font_file, "FreeType cannot render " + codepoint_name(codepoint), error)};
        rendered.push_back(std::move(glyph));
    }
    if (rendered.empty())
        return Failure{font_file + ": it has none of the characters the game writes" + WITHOUT_TEXT};

    GlyphAtlas atlas;
    pack(rendered, atlas);
    for (const RenderedGlyph& item : rendered)
        atlas.glyphs.push_back(item.glyph);
    read_kerning(font.face, atlas);
    const FT_Size_Metrics& metrics = font.face->size->metrics;
    atlas.ascender = static_cast<float>(metrics.ascender) * FROM_26_6;
    atlas.line_height = static_cast<float>(metrics.height) * FROM_26_6;
    return atlas;
}

GlyphAtlasResult load_glyph_atlas(const std::string& family, const std::function<bool()>& stopping)
{
    const Result<std::string> font = find_font_file(family);
    if (!font)
        return Failure{font.problem()};
    return build_glyph_atlas(font.value(), stopping);
}
