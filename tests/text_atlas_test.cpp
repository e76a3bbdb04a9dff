// The glyph atlas and the line layout, from the system's own DejaVu Sans.
#include "text/glyph_atlas.h"
#include "text/text_layout.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

namespace {

const GlyphAtlas& dejavu()
{
    static const GlyphAtlasResult loaded = load_glyph_atlas("DejaVu Sans");
    EXPECT_EQ(loaded.problem(), "");
    return loaded.value();
}

uint8_t texel(const GlyphAtlas& atlas, int32_t x, int32_t y)
{
    return atlas.texels.at(static_cast<size_t>(y * atlas.width + x));
}

} // namespace

// Advances in ems as DejaVu Sans has them, give or take a little; the
// middle of each box is inside the glyph or in a counter (O's hole, A's
// triangle above its bar).
TEST(GlyphAtlas, HoldsTheGameCharactersAsDistanceFields)
{
    const struct {
        const char* name;
        uint32_t codepoint;
        float fewest_ems;
        float most_ems;
        bool middle_inside;
    } rows[] = {
        {"l", 'l', 0.25f, 0.32f, true},      {"O", 'O', 0.75f, 0.82f, false},
        {"A", 'A', 0.65f, 0.72f, false},     {"period", '.', 0.28f, 0.35f, true},
        {"middle dot", 0xB7, 0.28f, 0.35f, true}, {"times", 0xD7, 0.80f, 0.87f, true},
        {"em dash", 0x2014, 0.97f, 1.03f, true},  {"ellipsis", 0x2026, 0.97f, 1.03f, true},
    };
    const GlyphAtlas& atlas = dejavu();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const Glyph& glyph = atlas.glyph(row.codepoint);
        ASSERT_EQ(glyph.codepoint, row.codepoint);
        EXPECT_GT(glyph.width, 2 * GLYPH_SPREAD_TEXELS);
        EXPECT_GT(glyph.height, 2 * GLYPH_SPREAD_TEXELS);
        EXPECT_GE(glyph.advance, row.fewest_ems * GLYPH_EM_TEXELS);
        EXPECT_LE(glyph.advance, row.most_ems * GLYPH_EM_TEXELS);
        const uint8_t middle = texel(atlas, glyph.atlas_x + glyph.width / 2, glyph.atlas_y + glyph.height / 2);
        const uint8_t corner = texel(atlas, glyph.atlas_x, glyph.atlas_y);
        EXPECT_EQ(middle > GLYPH_EDGE_VALUE, row.middle_inside) << int{middle};
        EXPECT_LT(corner, GLYPH_EDGE_VALUE / 2) << "a box's corner lies a spread outside the outline";
    }
    EXPECT_EQ(texel(atlas, atlas.solid_x, atlas.solid_y), 255);
    EXPECT_EQ(atlas.glyph(' ').width, 0);
    EXPECT_GT(atlas.glyph(' ').advance, 0.0f);
    EXPECT_EQ(atlas.glyph(0x4E2D).codepoint, uint32_t{'?'}) << "a character the atlas lacks is drawn as ?";
}

TEST(GlyphAtlas, AFontItCannotReadIsOneLine)
{
    const std::string broken = ::testing::TempDir() + "broken-font.ttf";
    std::ofstream(broken, std::ios::binary) << "OTTO this is no font at all";
    const std::string missing = ::testing::TempDir() + "no-such-font.ttf";
    std::remove(missing.c_str());
    for (const std::string& file : {missing, broken}) {
        SCOPED_TRACE(file);
        const GlyphAtlasResult result = build_glyph_atlas(file);
        const std::string& problem = result.problem();
        EXPECT_EQ(problem.rfind(file + ": FreeType cannot read it (error ", 0), 0u) << problem;
        EXPECT_NE(problem.find("); playing without text."), std::string::npos) << problem;
        EXPECT_EQ(problem.find('\n'), std::string::npos);
        EXPECT_FALSE(result);
    }
}

TEST(TextLayout, DecodesUtf8AndReplacesWhatIsNot)
{
    const struct {
        const char* text;
        std::vector<uint32_t> codepoints;
    } rows[] = {
        {"par 4", {'p', 'a', 'r', ' ', '4'}},
        {"a\xC2\xB7" "b\xE2\x80\x94\xE2\x80\xA6", {'a', 0xB7, 'b', 0x2014, 0x2026}},
        {"\xFF" "a", {0xFFFD, 'a'}},                 // no lead byte
        {"\xE2\x80", {0xFFFD, 0xFFFD}},              // cut short
        {"\xC0\xAF", {0xFFFD, 0xFFFD}},              // '/' spelled long
        {"\xF0\x9F\x98\x80", {0x1F600}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(decode_utf8(row.text), row.codepoints);
    }
}

TEST(TextLayout, KerningAndAlignmentPlaceTheLine)
{
    const GlyphAtlas& atlas = dejavu();
    constexpr float EM = 40.0f;
    EXPECT_LT(measure_text(atlas, "AV", EM), measure_text(atlas, "A", EM) + measure_text(atlas, "V", EM));
    EXPECT_EQ(measure_text(atlas, "", EM), 0.0f);

    // The same line, aligned three ways at x = 300: its ink spans the
    // measured width, ending at, centred on or starting from 300.
    const float width = measure_text(atlas, "HUH", EM);
    const struct {
        TextAlign align;
        float left;
    } rows[] = {{TextAlign::LEFT, 300.0f}, {TextAlign::CENTRE, 300.0f - width / 2}, {TextAlign::RIGHT, 300.0f - width}};
    for (const auto& row : rows) {
        std::vector<GlyphQuad> quads;
        lay_out_text(atlas, "HUH", 300.0f, 100.0f, EM, row.align, quads);
        ASSERT_EQ(quads.size(), 3u);
        const float spread = GLYPH_SPREAD_TEXELS * EM / GLYPH_EM_TEXELS;
        // The ink begins and ends a side bearing (a tenth of an em for H)
        // inside the measured span, and the box a spread outside the ink.
        EXPECT_NEAR(quads.front().left + spread, row.left, 0.15f * EM);
        EXPECT_NEAR(quads.back().right - spread, row.left + width, 0.15f * EM);
        EXPECT_NEAR(quads.front().bottom - spread, 100.0f, 1.0f) << "H stands on the baseline";
    }
}
