// The strict single-shader compiler, against a real OpenGL context.
#include "gl_test.h"
#include "render/shader_file.h"

#include <GL/glew.h>

#include <fstream>

namespace {

class ShaderFileTest : public GlTest {
protected:
    ScratchDirectory scratch;
};

TEST_F(ShaderFileTest, MissingFileGivesZeroAndTheGameGoesOn)
{
    GLuint shader = 1;
    const Output output = capture_output(
        [&] { shader = compile_shader_file("Shaders/none.vert", GL_VERTEX_SHADER); });
    EXPECT_EQ(shader, 0u);
    EXPECT_EQ(output.out, "shader file Shaders/none.vert does not exist.\n");
    EXPECT_EQ(output.err, "");
}

TEST_F(ShaderFileTest, CompiledShaderIsReportedAndReturned)
{
    scratch.write("Shaders/ok.geom", R"(#version 150
layout(points) in;
layout(points, max_vertices = 2) out;
void main() { gl_Position = gl_in[0].gl_Position; EmitVertex(); }
)");
    GLuint shader = 0;
    const Output output = capture_output(
        [&] { shader = compile_shader_file("Shaders/ok.geom", GL_GEOMETRY_SHADER); });
    EXPECT_EQ(output.out, "Shader: Shaders/ok.geom compiled\n");
    ASSERT_NE(shader, 0u);
    GLint type = 0;
    glGetShaderiv(shader, GL_SHADER_TYPE, &type);
    EXPECT_EQ(type, GL_GEOMETRY_SHADER);
}

// The child process of a death test runs the test again from its start,
// window and all, and ends without unwinding: its file lives in the tests'
// build directory rather than in a scratch directory that would be left
// behind.
using ShaderFileDeathTest = GlTest;

TEST_F(ShaderFileDeathTest, SyntaxErrorEndsTheProcessAfterTheNameAndTheLog)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const WorkingDirectory build(TIRAK_TEST_BUILD_DIR);
    std::ofstream("bad_shader.frag")
        << "#version 150\nout vec4 out_color;\nvoid main() { out_color = }\n";
    EXPECT_EXIT(compile_shader_file("bad_shader.frag", GL_FRAGMENT_SHADER),
                ::testing::ExitedWithCode(1),
                "^Failed to compile shader: bad_shader\\.frag\n[^\n]*error[^\n]*\n$");
}

} // namespace
