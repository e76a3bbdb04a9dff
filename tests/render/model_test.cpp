// Models and their textures loaded as the game loads its own: what reaches
// the vertex arrays and texture levels, what is printed, what is refused.
#include "game/game.h"
#include "game/fatal_error.h"
#include "gl_test.h"
#include "render/mip_chain.h"
#include "render/image_file.h"
#include "render/mesh_upload.h"
#include "render/model_loader.h"
#include "render/phong_program.h"
#include "render/scene_renderer.h"

#include <FreeImage.h>
#include <GL/glew.h>
#include <glm/gtc/type_ptr.hpp>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <tuple>
#include <vector>

namespace {

const std::string RED = "c81414ff", GREEN = "14c814ff", BLUE = "1414c8ff";

// Size and first texel of one level of a texture, as "8*4 c81414ff".
std::string level_of(GLuint texture, GLint level)
{
    GLint width = 0, height = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &height);
    std::vector<unsigned char> pixels(4 * static_cast<size_t>(width * height) + 4);
    glGetTexImage(GL_TEXTURE_2D, level, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    char text[32];
    std::snprintf(text, sizeof text, "%d*%d %02x%02x%02x%02x", width, height, pixels[0], pixels[1], pixels[2],
                  pixels[3]);
    return text;
}

// An image of one colour, given as level_of prints it; "" is no image at all.
void write_image(const std::string& path, const std::string& image)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    int width = 0, height = 0;
    unsigned rgba = 0;
    if (std::sscanf(image.c_str(), "%d*%d %x", &width, &height, &rgba) != 3) {
        std::ofstream(path) << "not an image";
        return;
    }
    RGBQUAD fill{BYTE(rgba >> 8), BYTE(rgba >> 16), BYTE(rgba >> 24), BYTE(rgba)};
    FIBITMAP* bitmap = FreeImage_AllocateEx(width, height, 32, &fill);
    EXPECT_TRUE(FreeImage_Save(FIF_PNG, bitmap, path.c_str(), PNG_DEFAULT)) << path;
    FreeImage_Unload(bitmap);
}

class ModelTest : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        ASSERT_FALSE(HasFatalFailure());
        // The game's own program names the attributes the upload feeds.
        std::filesystem::create_directory_symlink(std::string(TIRAK_DATA_DIR) + "/Shaders", "Shaders");
        capture_output([&] { load_phong_program(program); });
        load_vertex_array_functions(game);
    }

    // What the bound vertex array feeds the attribute, vertex after vertex; empty for nothing.
    std::vector<float> fed(const char* attribute, size_t vertices) const
    {
        const auto location = static_cast<GLuint>(glGetAttribLocation(program.program, attribute));
        GLint enabled = 0, components = 0, buffer = 0;
        glGetVertexAttribiv(location, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
        glGetVertexAttribiv(location, GL_VERTEX_ATTRIB_ARRAY_SIZE, &components);
        glGetVertexAttribiv(location, GL_VERTEX_ATTRIB_ARRAY_BUFFER_BINDING, &buffer);
        std::vector<float> values = buffer_contents<float>(GL_ARRAY_BUFFER, static_cast<GLuint>(buffer));
        values.resize(enabled ? static_cast<size_t>(components) * vertices : 0);
        return values;
    }

    ScratchDirectory scratch;
    ShaderProgram program;
    Game game;
};

// Faces 1 2 3 and 1 3 4 of its own vertices, wherever it stands in a file.
const std::string SQUARE = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf -4 -3 -2\nf -4 -2 -1\n";
const std::string TRIANGLE = "v 0 0 0\nv 1 0 0\nv 0 1 0\n";

// A model gives one record, which draws the triangles of its last mesh with
// the texture of the last mesh that has one, or is refused in one line.
TEST_F(ModelTest, AModelBecomesOneRecordOrOneLine)
{
    struct Case {
        const char* name;
        std::string obj; // "": no such file
        std::string err;
        std::vector<float> positions{}, normals{}, coordinates{};
        std::vector<GLuint> indices{};
        bool textured = false; // with first.png, which its material names
    };
    const std::vector<float> square{0, 0, 0, 1, 1, 0, 0, 1, 1, 1, 0, 1, 0, 1, 0, 1};
    const std::vector<float> triangle{0, 0, 0, 1, 1, 0, 0, 1, 0, 1, 0, 1};
    const Case cases[] = {
        {"positions only", SQUARE, "", square, {}, {}, {0, 1, 2, 0, 2, 3}, false},
        {"normals, and u and v of three coordinates",
         TRIANGLE + "vt 0.25 0.5 0.75\nvt 1 0.5 0.5\nvt 0 1 0.25\nvn 0 0 1\nf 1/1/1 2/2/1 3/3/1\n", "", triangle,
         {0, 0, 1, 0, 0, 1, 0, 0, 1}, {0.25f, 0.5f, 1, 0.5f, 0, 1}, {0, 1, 2}, false},
        {"a stray line left out", TRIANGLE + "f 1 2 3\nl 1 2\n", "", triangle, {}, {}, {0, 1, 2}, false},
        {"two objects", "mtllib m.mtl\no first\nusemtl textured\n" + TRIANGLE +
         "f 1 2 3\no second\nusemtl plain\n" + SQUARE, "", square, {}, {}, {0, 1, 2, 0, 2, 3}, true},
        {"no file", "", "Cannot load \"m.obj\": it is missing or not a model the importer can read.\n"},
        // Without a mesh it would hand every later model the wrong index.
        {"no mesh", "# only a comment, and more than a few bytes of it\n", "m.obj: the model has no mesh to draw.\n"},
        {"points only", TRIANGLE + "p 1 2 3\n", "m.obj: the model has no faces to draw.\n"},
    };
    scratch.write("m.mtl", "newmtl textured\nmap_Kd first.png\nnewmtl plain\nKd 1 0 0\n");
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        std::filesystem::remove("m.obj");
        if (!row.obj.empty())
            scratch.write("m.obj", row.obj);
        const size_t records = game.mesh_records.size();
        std::string fatal; // printed by the entry point, on standard error
        const Output output = capture_output([&] {
            try {
                load_model(game, program, "m.obj", false);
            } catch (const FatalError& error) {
                fatal = error.message + "\n";
            }
        });
        EXPECT_EQ(output.err + fatal, row.err);
        const bool loaded = fatal.empty();
        ASSERT_EQ(game.mesh_records.size(), records + loaded);
        if (!loaded)
            continue;
        const MeshRecord record = game.mesh_records.back();
        EXPECT_EQ(record.texture, row.textured ? game.texture_map.at("first.png") : 0u);
        game.bind_vertex_array(record.vertex_array);
        GLint indices = 0;
        glGetIntegerv(GL_ELEMENT_ARRAY_BUFFER_BINDING, &indices);
        EXPECT_EQ(buffer_contents<GLuint>(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLuint>(indices)), row.indices);
        EXPECT_EQ(record.index_count, static_cast<int32_t>(row.indices.size()));
        const size_t vertices = row.positions.size() / 4;
        EXPECT_EQ(fed("in_position", vertices), row.positions);
        EXPECT_EQ(fed("in_normals", vertices), row.normals);
        EXPECT_EQ(fed("in_textcoords", vertices), row.coordinates);
        game.bind_vertex_array(0);
    }
}

TEST_F(ModelTest, TextureLevelsComeFromTheirFilesOrFromLevelZero)
{
    struct Case {
        const char* name;
        std::map<std::string, std::string> images; // below tex/
        std::vector<std::string> named;             // by one material each; "" names none
        bool has_mip_levels;
        std::string out;
        std::vector<std::tuple<std::string, int, std::string>> levels; // texture, level, image
    };
    const std::string size = "The size of the image is: tex/";
    const std::string long_name = std::string(180, 'x') + ".png";
    const Case cases[] = {
        {"prepared levels replace the made ones, unless missing or of the wrong size",
         {{"0a.png", "1*8 " + RED}, {"1a.png", "1*4 " + GREEN}, {"3a.png", "2*2 " + BLUE}}, {"a.png"}, true,
         size + "0a.png es 1*8\n" + size + "1a.png es 1*4\n" + size +
             "2a.png es 0*0\nCouldn't load Image: tex/2a.png\n" + size +
             "3a.png es 2*2\ntex/3a.png: mip level 3 must be 1*1; the level made from level 0 is used instead.\n",
         {{"a.png", 0, "1*8 " + RED}, {"a.png", 1, "1*4 " + GREEN}, {"a.png", 2, "1*2 " + RED},
          {"a.png", 3, "1*1 " + RED}}},
        {"each name once, in name order, as long as it is; unreadable images reported",
         {{"0b.png", "2*2 " + BLUE}, {"0sub/c.png", "2*2 " + GREEN}, {"0" + long_name, "4*4 " + RED},
          {"0broken.png", ""}},
         {"b.png", "", "sub/c.png", long_name, "b.png", "broken.png"}, false,
         size + "0b.png es 2*2\n" + size + "0broken.png es 0*0\nCouldn't load Image: tex/0broken.png\n" +
             size + "0sub/c.png es 2*2\n" + size + "0" + long_name + " es 4*4\n",
         {{"b.png", 0, "2*2 " + BLUE}, {"broken.png", 0, "0*0 00000000"}, {"sub/c.png", 0, "2*2 " + GREEN},
          {long_name, 0, "4*4 " + RED}}},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        const ScratchDirectory files;
        for (const auto& [file, image] : row.images)
            write_image("tex/" + file, image);
        std::string obj = "mtllib m.mtl\n" + TRIANGLE, materials;
        for (size_t i = 0; i < row.named.size(); ++i) {
            const std::string material = "m" + std::to_string(i);
            materials += "newmtl " + material + (row.named[i].empty() ? "" : "\nmap_Kd " + row.named[i]) + "\n";
            obj += "usemtl " + material + "\nf 1 2 3\n";
        }
        files.write("m.obj", obj);
        files.write("m.mtl", materials);
        EXPECT_EQ(capture_output([&] { load_model(game, program, "m.obj", row.has_mip_levels); }).out,
                  row.out);
        for (const auto& [name, level, image] : row.levels)
            EXPECT_EQ(level_of(game.texture_map.at(name), level), image) << name << " level " << level;
    }
}


// An image's sides are checked against the limit, each of them up to and including it, and only PNG is read.
TEST(ImageFile, SidesAreCheckedByTheHeaderAndOnlyPngIsRead)
{
    struct Case {
        const char* name;
        FREE_IMAGE_FORMAT type;
        int width, height;
        unsigned max_side;
        std::string problem; // "" when the pixels are read
    };
    const std::string claims = "the image claims ";
    const Case cases[] = {
        {"both sides at the limit", FIF_PNG, 4, 4, 4, ""},
        {"too wide", FIF_PNG, 4, 2, 3, claims + "4*2 pixels; a texture's sides must be from 1 to 3"},
        {"too tall", FIF_PNG, 2, 4, 3, claims + "2*4 pixels; a texture's sides must be from 1 to 3"},
        {"not PNG", FIF_TARGA, 2, 2, 8, "its type (TARGA) is not one the game reads: textures are PNG"},
    };
    const ScratchDirectory files;
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        FIBITMAP* bitmap = FreeImage_Allocate(row.width, row.height, 32);
        ASSERT_TRUE(FreeImage_Save(row.type, bitmap, "image", 0));
        FreeImage_Unload(bitmap);
        const ImageFile image = read_image_file("image", row.max_side);
        EXPECT_EQ(image.problem(), row.problem);
        EXPECT_EQ(image ? image.value().width : 0u, row.problem.empty() ? unsigned(row.width) : 0u);
        EXPECT_EQ(image ? image.value().texels.size() : 0u, row.problem.empty() ? size_t(4 * row.width * row.height) : 0u);
    }
}

// The shipped Phong shader on a square filling the window, drawn as the renderer draws a model.
// Texels are sRGB, as the loader uploads them, decoded by the texture unit and encoded back by the framebuffer: unlit, they show as
// stored and blend in linear light; lit, alpha 0 glows brighter than its own colour.
TEST_F(ModelTest, PhongShaderShowsTexelsAsStored)
{
    scratch.write("s.obj", "v -1 -1 0\nv 1 -1 0\nv 1 1 0\nv -1 1 0\nvt 0 0\nvn 0 0 -1\n"
                           "f 1/1/1 2/1/1 3/1/1\nf 1/1/1 3/1/1 4/1/1\n");
    capture_output([&] { load_model(game, program, "s.obj", false); });
    glGenTextures(1, &game.mesh_records.back().texture);
    glBindTexture(GL_TEXTURE_2D, game.mesh_records.back().texture);
    game.uniforms = find_uniform_locations(program.program);
    glUseProgram(program.program);
    for (const GLint matrix : {game.uniforms.camera_matrix, game.uniforms.projection_matrix,
                               game.uniforms.world_translation_matrix})
        glUniformMatrix4fv(matrix, 1, GL_FALSE, glm::value_ptr(glm::mat4(1.0f)));
    glEnable(GL_FRAMEBUFFER_SRGB);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    // Texel, lit, and the red of the middle pixel over black.
    const std::tuple<std::array<GLubyte, 4>, bool, int> cases[] = {
        {{200, 120, 40, 255}, false, 200}, {{200, 200, 200, 128}, false, 147}, {{160, 160, 160, 0}, true, 183}};
    for (const auto& [texel, lit, red] : cases) {
        glTexImage2D(GL_TEXTURE_2D, 0, GL_SRGB8_ALPHA8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel.data());
        glUniform1i(game.uniforms.lightning, lit);
        texel[3] < 255 && !lit ? glEnable(GL_BLEND) : glDisable(GL_BLEND);
        glClear(GL_COLOR_BUFFER_BIT);
        draw_model(glm::mat4(1.0f), static_cast<int>(game.mesh_records.size()) - 1, game);
        GLubyte pixel[4] = {};
        glReadPixels(32, 32, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
        EXPECT_NEAR(pixel[0], red, 2) << "texel " << int(texel[0]) << " alpha " << int(texel[3]);
    }
}

// Each level below averages 2 x 2 texels in linear light (black and white make sRGB 188, not 128), alpha as
// it is, and keeps a side of 1 at 1; on odd sides the last row or column takes part only where it pairs.
TEST(MipChain, HalvesInLinearLight)
{
    const struct { unsigned width, height; std::vector<uint8_t> above, below; } rows[] = {
        {2, 2, {0, 0, 0, 0, 255, 255, 255, 255, 0, 0, 0, 0, 255, 255, 255, 255}, {188, 188, 188, 128}},
        {2, 1, {10, 200, 255, 255, 10, 200, 255, 255}, {10, 200, 255, 255}},
        {1, 2, {255, 0, 0, 100, 0, 0, 255, 200}, {188, 0, 188, 150}},
        {3, 1, {255, 255, 255, 255, 255, 255, 255, 255, 0, 0, 0, 0}, {255, 255, 255, 255}},
    };
    for (const auto& row : rows) {
        const MipLevel below = half_level({row.width, row.height, row.above});
        EXPECT_EQ(below.width * below.height, 1u) << row.width << "x" << row.height;
        EXPECT_EQ(below.texels, row.below) << row.width << "x" << row.height;
    }
}

TEST(MipChain, StoresLinearBytesOnlyWhereTheLookSurvives)
{
    // A level keeps its look when every colour byte comes back within one
    // step; alpha never counts and never changes.
    const struct { std::vector<uint8_t> srgb; bool keeps; std::vector<uint8_t> linear; } rows[] = {
        {{255, 128, 64, 7}, true, {255, 55, 13, 7}},
        {{49, 200, 0, 10}, true, {8, 147, 0, 10}},
        {{200, 200, 200, 255, 48, 200, 200, 255}, false, {}},
        {{30, 255, 255, 255}, false, {}},
    };
    for (const auto& row : rows) {
        MipLevel level{static_cast<unsigned>(row.srgb.size() / 4), 1, row.srgb};
        EXPECT_EQ(keeps_look_in_linear_bytes(level), row.keeps) << int(row.srgb[0]);
        if (!row.keeps)
            continue;
        to_linear_bytes(level);
        EXPECT_EQ(level.texels, row.linear) << int(row.srgb[0]);
    }
}

} // namespace
