// Texture loading: which files are read for which levels, what is printed,
// and what OpenGL ends up holding.
#include "game/game.h"
#include "gl_test.h"
#include "render/texture_loader.h"

#include <GL/glew.h>
#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include <array>
#include <string>

namespace {

using Texel = std::array<unsigned char, 4>;

constexpr Texel RED{200, 20, 20, 255};
constexpr Texel GREEN{20, 200, 20, 255};
constexpr Texel BLUE{20, 20, 200, 255};

// A triangle whose material names the given diffuse textures, one material
// per name, each used by a face.
std::string model_naming(const std::vector<std::string>& textures, std::string& materials)
{
    std::string obj = "mtllib model.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\n";
    materials.clear();
    for (size_t i = 0; i < textures.size(); ++i) {
        const std::string name = "material" + std::to_string(i);
        materials += "newmtl " + name + "\nKd 1 1 1\n";
        if (!textures[i].empty())
            materials += "map_Kd " + textures[i] + "\n";
        obj += "usemtl " + name + "\nf 1 2 3\n";
    }
    return obj;
}

class TextureLoaderTest : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        scratch = std::make_unique<ScratchDirectory>();
    }
    void TearDown() override
    {
        scratch.reset();
        GlTest::TearDown();
    }

    // Writes a model naming the textures, imports it and loads its textures.
    Output load(const std::vector<std::string>& textures, bool has_mip_levels)
    {
        std::string materials;
        scratch->write("model.obj", model_naming(textures, materials));
        scratch->write("model.mtl", materials);
        Assimp::Importer importer;
        const aiScene* scene = importer.ReadFile("model.obj", 0x0B);
        EXPECT_NE(scene, nullptr) << importer.GetErrorString();
        if (scene == nullptr)
            return {};
        return capture_output([&] { load_textures(*scene, game, has_mip_levels); });
    }

    static void write_level(int level, const std::string& name, int width, int height, Texel colour)
    {
        write_png("tex/" + std::to_string(level) + name, width, height, colour[0], colour[1],
                  colour[2], colour[3]);
    }

    // Size and first texel of one level of a texture.
    struct Level {
        GLint width = 0;
        GLint height = 0;
        Texel texel{};
    };
    static Level level_of(GLuint texture, GLint level)
    {
        Level result;
        glBindTexture(GL_TEXTURE_2D, texture);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &result.width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &result.height);
        std::vector<unsigned char> pixels(static_cast<size_t>(result.width) * result.height * 4);
        if (!pixels.empty()) {
            glGetTexImage(GL_TEXTURE_2D, level, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
            std::copy_n(pixels.begin(), 4, result.texel.begin());
        }
        return result;
    }

    std::unique_ptr<ScratchDirectory> scratch;
    Game game;
};

TEST_F(TextureLoaderTest, PreparedLevelsReplaceTheGeneratedOnes)
{
    write_level(0, "a.png", 8, 4, RED);
    write_level(1, "a.png", 4, 2, GREEN);
    write_level(3, "a.png", 1, 1, BLUE); // level 2 is missing
    const Output output = load({"a.png"}, true);
    EXPECT_EQ(output.out, "The size of the image is: tex/0a.png es 8*4\n"
                          "The size of the image is: tex/1a.png es 4*2\n"
                          "The size of the image is: tex/2a.png es 0*0\n"
                          "Couldn't load Image: tex/2a.png\n"
                          "The size of the image is: tex/3a.png es 1*1\n");
    EXPECT_EQ(output.err, "");

    ASSERT_EQ(game.texture_map.count("a.png"), 1u);
    const GLuint texture = game.texture_map["a.png"];
    const Level levels[4] = {level_of(texture, 0), level_of(texture, 1), level_of(texture, 2),
                             level_of(texture, 3)};
    EXPECT_EQ(levels[0].width, 8);
    EXPECT_EQ(levels[0].height, 4);
    EXPECT_EQ(levels[0].texel, RED);
    EXPECT_EQ(levels[1].width, 4);
    EXPECT_EQ(levels[1].height, 2);
    EXPECT_EQ(levels[1].texel, GREEN) << "level 1 comes from its own file";
    // The missing level keeps what OpenGL made from level 0.
    EXPECT_EQ(levels[2].width, 2);
    EXPECT_EQ(levels[2].height, 1);
    EXPECT_EQ(levels[2].texel, RED);
    EXPECT_EQ(levels[3].texel, BLUE);
    GLint generate = GL_FALSE;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_GENERATE_MIPMAP, &generate);
    EXPECT_EQ(generate, GL_TRUE);
}

TEST_F(TextureLoaderTest, WithoutTheFlagOnlyLevelZeroIsRead)
{
    write_level(0, "a.png", 8, 8, RED);
    write_level(1, "a.png", 4, 4, GREEN);
    const Output output = load({"a.png"}, false);
    EXPECT_EQ(output.out, "The size of the image is: tex/0a.png es 8*8\n");
    const Level generated = level_of(game.texture_map["a.png"], 1);
    EXPECT_EQ(generated.width, 4);
    EXPECT_EQ(generated.texel, RED);
}

TEST_F(TextureLoaderTest, NamesAreCollectedOnceEachInNameOrder)
{
    write_level(0, "b.png", 2, 2, BLUE);
    write_level(0, "a.png", 2, 2, RED);
    // Two materials share b.png; one names no texture at all.
    const Output output = load({"b.png", "", "a.png", "b.png"}, false);
    EXPECT_EQ(output.out, "The size of the image is: tex/0a.png es 2*2\n"
                          "The size of the image is: tex/0b.png es 2*2\n");
    ASSERT_EQ(game.texture_map.size(), 2u);
    EXPECT_NE(game.texture_map["a.png"], game.texture_map["b.png"]);
    EXPECT_EQ(level_of(game.texture_map["b.png"], 0).texel, BLUE);

    // A model naming no texture creates nothing and prints nothing.
    const Output nothing = load({""}, true);
    EXPECT_EQ(nothing.out, "");
    EXPECT_EQ(game.texture_map.size(), 2u);

    // Loading a name again moves the map to a new texture; the old one stays
    // valid for the records that hold it.
    const GLuint earlier = game.texture_map["a.png"];
    load({"a.png"}, false);
    EXPECT_NE(game.texture_map["a.png"], earlier);
    EXPECT_TRUE(glIsTexture(earlier));
}

TEST_F(TextureLoaderTest, AnyNameLengthAndDirectoryPartsWork)
{
    // Far longer than any fixed file-name buffer would hold.
    const std::string long_name = std::string(180, 'x') + ".png";
    write_level(0, long_name, 4, 4, GREEN);
    write_level(0, "sub/c.png", 2, 2, BLUE); // the level is a prefix: tex/0sub/c.png
    const Output output = load({long_name, "sub/c.png"}, false);
    EXPECT_EQ(output.out, "The size of the image is: tex/0sub/c.png es 2*2\n"
                          "The size of the image is: tex/0" +
                              long_name + " es 4*4\n");
    EXPECT_EQ(level_of(game.texture_map[long_name], 0).texel, GREEN);
    EXPECT_EQ(level_of(game.texture_map["sub/c.png"], 0).texel, BLUE);
}

TEST_F(TextureLoaderTest, UnreadableImagesAreReportedAndLoadingGoesOn)
{
    scratch->write("tex/0broken.png", "not an image at all");
    write_level(0, "fine.png", 2, 2, RED);
    const Output output = load({"broken.png", "fine.png"}, false);
    EXPECT_EQ(output.out, "The size of the image is: tex/0broken.png es 0*0\n"
                          "Couldn't load Image: tex/0broken.png\n"
                          "The size of the image is: tex/0fine.png es 2*2\n");
    EXPECT_EQ(level_of(game.texture_map["broken.png"], 0).width, 0);
    EXPECT_EQ(level_of(game.texture_map["fine.png"], 0).texel, RED);
}

TEST_F(TextureLoaderTest, PreparedLevelsOfTheWrongSizeAreRefused)
{
    write_level(0, "a.png", 8, 8, RED);
    write_level(1, "a.png", 8, 8, GREEN); // should be 4 x 4
    write_level(2, "a.png", 2, 2, BLUE);
    write_level(3, "a.png", 1, 2, BLUE); // should be 1 x 1
    const Output output = load({"a.png"}, true);
    EXPECT_EQ(output.out, "The size of the image is: tex/0a.png es 8*8\n"
                          "The size of the image is: tex/1a.png es 8*8\n"
                          "tex/1a.png: mip level 1 must be 4*4; the level made from level 0 is used instead.\n"
                          "The size of the image is: tex/2a.png es 2*2\n"
                          "The size of the image is: tex/3a.png es 1*2\n"
                          "tex/3a.png: mip level 3 must be 1*1; the level made from level 0 is used instead.\n");
    const GLuint texture = game.texture_map["a.png"];
    // The refused levels keep what OpenGL made, so the chain stays complete.
    EXPECT_EQ(level_of(texture, 1).width, 4);
    EXPECT_EQ(level_of(texture, 1).texel, RED);
    EXPECT_EQ(level_of(texture, 2).texel, BLUE);
    EXPECT_EQ(level_of(texture, 3).height, 1);
    EXPECT_EQ(level_of(texture, 3).texel, RED);
}

} // namespace
