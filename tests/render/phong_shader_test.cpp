// The shipped Phong shader's colour handling, drawn for real: textures are
// decoded from sRGB, the framebuffer encodes back, alpha reaches blending,
// and lighting follows the normals.
#include "game/game.h"
#include "gl_test.h"
#include "render/model_loader.h"
#include "render/phong_program.h"

#include <GL/glew.h>
#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#include <glm/glm.hpp>
#include <glm/gtc/type_ptr.hpp>

#include <cmath>

namespace {

float decode(float encoded)
{
    return encoded <= 0.04045f ? encoded / 12.92f : std::pow((encoded + 0.055f) / 1.055f, 2.4f);
}

float encode(float linear)
{
    return linear <= 0.0031308f ? linear * 12.92f : 1.055f * std::pow(linear, 1.0f / 2.4f) - 0.055f;
}

// A square covering the whole window when every matrix is the identity,
// facing the viewer (+z) or away from the key light's side (-z normals).
std::string screen_square(float normal_z)
{
    const std::string n = "vn 0 0 " + std::to_string(normal_z) + "\n";
    return "v -1 -1 0\nv 1 -1 0\nv 1 1 0\nv -1 1 0\nvt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n" + n +
           "f 1/1/1 2/2/1 3/3/1\nf 1/1/1 3/3/1 4/4/1\n";
}

class PhongShaderTest : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        if (HasFatalFailure())
            return;
        {
            const WorkingDirectory data(TIRAK_DATA_DIR);
            capture_output([&] { ASSERT_TRUE(load_phong_program(program)); });
        }
        game.load_vertex_array_functions();
        scratch.write("facing.obj", screen_square(1.0f));
        scratch.write("away.obj", screen_square(-1.0f));
        for (const char* file : {"facing.obj", "away.obj"}) {
            Assimp::Importer importer;
            const aiScene* scene = importer.ReadFile(file, MODEL_IMPORT_FLAGS);
            ASSERT_NE(scene, nullptr);
            game.upload_meshes(program, *scene, false);
        }
        glUseProgram(program.program);
        const glm::mat4 identity(1.0f);
        for (const char* name : {"camera_matrix", "projection_matrix", "world_translation_matrix",
                                 "cubetranslation_matrix"})
            glUniformMatrix4fv(glGetUniformLocation(program.program, name), 1, GL_FALSE,
                               glm::value_ptr(identity));
        glEnable(GL_FRAMEBUFFER_SRGB);
        glGenTextures(1, &texture);
    }

    // Draws one square textured with a single texel over a black window and
    // reads back the middle pixel.
    std::array<int, 4> draw(int square, std::array<unsigned char, 4> texel, int lightning,
                            bool blend)
    {
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel.data());
        glUniform1i(glGetUniformLocation(program.program, "lightning"), lightning);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        if (blend) {
            glEnable(GL_BLEND);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        }
        game.bind_vertex_array(game.mesh_records[square].vertex_array);
        glDrawElements(GL_TRIANGLES, game.mesh_records[square].index_count, GL_UNSIGNED_INT,
                       nullptr);
        glDisable(GL_BLEND);
        unsigned char pixel[4] = {};
        glReadPixels(32, 32, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
        return {pixel[0], pixel[1], pixel[2], pixel[3]};
    }

    ScratchDirectory scratch;
    ShaderProgram program;
    Game game;
    GLuint texture = 0;
};

constexpr int FACING = 0;
constexpr int AWAY = 1;

TEST_F(PhongShaderTest, UnlitDrawsShowTheTextureAsStoredAndBlendWithItsAlpha)
{
    // Decoded in the shader and encoded by the framebuffer: unchanged.
    const auto opaque = draw(FACING, {200, 120, 40, 255}, 0, false);
    EXPECT_NEAR(opaque[0], 200, 1);
    EXPECT_NEAR(opaque[1], 120, 1);
    EXPECT_NEAR(opaque[2], 40, 1);

    // Half covering black: half the light, in linear terms. Mixing the
    // stored values instead would give a visibly brighter 168.
    const auto half = draw(FACING, {200, 200, 200, 128}, 0, true);
    const float expected = 255.0f * encode(decode(200.0f / 255.0f) * 128.0f / 255.0f);
    EXPECT_NEAR(half[0], expected, 1.5f);
}

TEST_F(PhongShaderTest, LitDrawsFollowTheNormalAndLetLowAlphaGlow)
{
    const std::array<unsigned char, 4> grey{160, 160, 160, 255};
    const auto towards = draw(FACING, grey, 1, false);
    const auto away = draw(AWAY, grey, 1, false);
    EXPECT_GT(towards[0], away[0] + 20) << "the key light comes from +z's side";
    EXPECT_GT(away[0], 0) << "the other side is never black";

    // A self-lit texel shows at least its own colour, light or no light.
    const std::array<unsigned char, 4> glowing{160, 160, 160, 0};
    EXPECT_GE(draw(AWAY, glowing, 1, false)[0], 159);
    EXPECT_GE(draw(FACING, glowing, 1, false)[0], 159);
}

} // namespace
