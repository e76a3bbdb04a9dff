// The lenient program loader and the Phong program's start-up, against a
// real OpenGL context.
#include "gl_test.h"
#include "render/phong_program.h"
#include "render/shader_program.h"

#include <GL/glew.h>

#include <string>

namespace {

const char* const VERTEX = R"(#version 150
in vec4 in_position;
void main() { gl_Position = in_position; }
)";

const char* const FRAGMENT = R"(#version 150
out vec4 out_color;
void main() { out_color = vec4(1.0); }
)";

const char* const BROKEN_VERTEX = R"(#version 150
void main() { gl_Position = vec4(1.0) }
)";

// Calls a function it only declares: compiles, but cannot link.
const char* const UNRESOLVED_FRAGMENT = R"(#version 150
vec4 never_defined();
out vec4 out_color;
void main() { out_color = never_defined(); }
)";

// The particle update's shape: points in, up to two points out, declared in
// the source because Mesa offers no glProgramParameteri for them.
const char* const GEOMETRY = R"(#version 150
layout(points) in;
layout(points, max_vertices = 2) out;
out vec4 gs_out_Position;
out vec4 gs_out_Velocity;
out float gs_out_Timer;
out float gs_out_Type;
void main()
{
    gs_out_Position = gl_in[0].gl_Position;
    gs_out_Velocity = vec4(0.0);
    gs_out_Timer = 0.0;
    gs_out_Type = 1.0;
    EmitVertex();
    EndPrimitive();
}
)";

// Two colour outputs; the linker is free to give out_color a location other
// than 0 until it is bound.
const char* const TWO_OUTPUTS = R"(#version 150
out vec4 glow;
out vec4 out_color;
void main() { glow = vec4(0.0); out_color = vec4(1.0); }
)";

std::string without_output(std::string text, const std::string& name)
{
    const std::string declaration = "out float " + name + ";\n";
    text.erase(text.find(declaration), declaration.size());
    const std::string assignment = "    " + name + " = 1.0;\n";
    text.erase(text.find(assignment), assignment.size());
    return text;
}

class ShaderProgramTest : public GlTest {
protected:
    ScratchDirectory scratch;
};

TEST_F(ShaderProgramTest, MissingFilesAreReportedBeforeAnyObjectIsMade)
{
    ShaderProgram record;
    Output output = capture_output([&] { record = load_shader_program("missing/base"); });
    EXPECT_EQ(output.err, "Vertex shader file missing/base.vert does not exist.\n");
    EXPECT_EQ(output.out, "");
    EXPECT_FALSE(record.linked);
    EXPECT_EQ(record.vertex_shader, 0u);
    EXPECT_EQ(record.program, 0u);

    // With the vertex source present but no fragment source, nothing is
    // compiled: the geometry line, the fragment line, and an empty record.
    scratch.write("s.vert", VERTEX);
    output = capture_output([&] { record = load_shader_program("s"); });
    EXPECT_EQ(output.err, "Geometric shader file s.geom does not exist.\n"
                          "Fragment shader file s.frag does not exist.\n");
    EXPECT_EQ(output.out, "");
    EXPECT_FALSE(record.linked);
    EXPECT_FALSE(record.has_geometry);
    EXPECT_EQ(record.vertex_shader, 0u);
    EXPECT_EQ(record.fragment_shader, 0u);
    EXPECT_EQ(record.program, 0u);
}

TEST_F(ShaderProgramTest, TwoStagesLinkWithoutFeedbackOutputs)
{
    scratch.write("s.vert", VERTEX);
    scratch.write("s.frag", FRAGMENT);
    ShaderProgram record;
    const Output output = capture_output([&] { record = load_shader_program("s"); });
    EXPECT_EQ(output.err, "Geometric shader file s.geom does not exist.\n");
    EXPECT_EQ(output.out, "Shader linking succesfull.\n");
    ASSERT_TRUE(record.linked);
    EXPECT_FALSE(record.has_geometry);
    EXPECT_EQ(record.geometry_shader, 0u);
    EXPECT_TRUE(glIsProgram(record.program));
    GLint varyings = -1;
    glGetProgramiv(record.program, GL_TRANSFORM_FEEDBACK_VARYINGS, &varyings);
    EXPECT_EQ(varyings, 0);

    destroy_shader_program(record);
    EXPECT_FALSE(glIsProgram(record.program));
    EXPECT_FALSE(glIsShader(record.vertex_shader));
    EXPECT_FALSE(glIsShader(record.fragment_shader));
}

TEST_F(ShaderProgramTest, CompileAndLinkErrorsPrintTheirLogsAndLeaveNoProgram)
{
    scratch.write("broken.vert", BROKEN_VERTEX);
    scratch.write("broken.frag", FRAGMENT);
    ShaderProgram record;
    Output output = capture_output([&] { record = load_shader_program("broken"); });
    // The failed shader still goes to the link, which fails in its turn.
    const std::string compile_failed = "Shader compilation failed.\n";
    const std::string link_failed = "Shader linking failed.\n";
    ASSERT_EQ(output.out.compare(0, compile_failed.size(), compile_failed), 0) << output.out;
    const size_t link_line = output.out.find(link_failed);
    ASSERT_NE(link_line, std::string::npos) << output.out;
    EXPECT_GT(link_line, compile_failed.size()) << "the compiler's log comes first";
    EXPECT_GT(output.out.size(), link_line + link_failed.size()) << "the linker's log follows";
    EXPECT_FALSE(record.linked);
    EXPECT_NE(record.vertex_shader, 0u);
    EXPECT_NE(record.fragment_shader, 0u);
    EXPECT_EQ(record.program, 0u);
    destroy_shader_program(record);

    scratch.write("unresolved.vert", VERTEX);
    scratch.write("unresolved.frag", UNRESOLVED_FRAGMENT);
    output = capture_output([&] { record = load_shader_program("unresolved"); });
    EXPECT_EQ(output.out.compare(0, link_failed.size(), link_failed), 0) << output.out;
    EXPECT_NE(output.out.find("never_defined"), std::string::npos) << output.out;
    EXPECT_FALSE(record.linked);
    EXPECT_EQ(record.program, 0u);
    destroy_shader_program(record);
}

TEST_F(ShaderProgramTest, GeometryStageCapturesTheFourOutputsSeparately)
{
    scratch.write("particle.vert", VERTEX);
    scratch.write("particle.geom", GEOMETRY);
    scratch.write("particle.frag", FRAGMENT);
    ShaderProgram record;
    const Output output = capture_output([&] { record = load_shader_program("particle"); });
    EXPECT_EQ(output.err, "");
    EXPECT_EQ(output.out, "Shader linking succesfull.\n");
    ASSERT_TRUE(record.linked);
    EXPECT_TRUE(record.has_geometry);
    EXPECT_NE(record.geometry_shader, 0u);

    GLint value = 0;
    glGetProgramiv(record.program, GL_GEOMETRY_INPUT_TYPE, &value);
    EXPECT_EQ(value, GL_POINTS);
    glGetProgramiv(record.program, GL_GEOMETRY_OUTPUT_TYPE, &value);
    EXPECT_EQ(value, GL_POINTS);
    glGetProgramiv(record.program, GL_GEOMETRY_VERTICES_OUT, &value);
    EXPECT_EQ(value, 2);
    glGetProgramiv(record.program, GL_TRANSFORM_FEEDBACK_BUFFER_MODE, &value);
    EXPECT_EQ(value, GL_SEPARATE_ATTRIBS);
    glGetProgramiv(record.program, GL_TRANSFORM_FEEDBACK_VARYINGS, &value);
    ASSERT_EQ(value, 4);
    const char* const expected[] = {"gs_out_Position", "gs_out_Velocity", "gs_out_Timer",
                                    "gs_out_Type"};
    for (GLuint i = 0; i < 4; ++i) {
        char name[64] = {};
        GLsizei size = 0;
        GLenum type = 0;
        glGetTransformFeedbackVarying(record.program, i, sizeof name, nullptr, &size, &type, name);
        EXPECT_STREQ(name, expected[i]);
    }

    // A geometry stage without one of the captured outputs cannot link.
    scratch.write("short.vert", VERTEX);
    scratch.write("short.geom", without_output(GEOMETRY, "gs_out_Type"));
    scratch.write("short.frag", FRAGMENT);
    ShaderProgram short_record;
    const Output short_output =
        capture_output([&] { short_record = load_shader_program("short"); });
    EXPECT_NE(short_output.out.find("Shader linking failed."), std::string::npos);
    EXPECT_NE(short_output.out.find("gs_out_Type"), std::string::npos) << short_output.out;
    EXPECT_FALSE(short_record.linked);
}

TEST_F(ShaderProgramTest, LinkingAgainMakesANewProgramRelinkingKeepsIt)
{
    scratch.write("s.vert", VERTEX);
    scratch.write("s.frag", TWO_OUTPUTS);
    ShaderProgram record;
    capture_output([&] { record = load_shader_program("s"); });
    ASSERT_TRUE(record.linked);
    const GLuint first = record.program;

    capture_output([&] { link_shader_program(record); });
    EXPECT_NE(record.program, first);
    EXPECT_TRUE(glIsProgram(record.program));

    // Bind the outputs the other way round from whatever the linker chose:
    // the binding shows only after the relink, in the same program object.
    const GLuint second = record.program;
    const GLint chosen = glGetFragDataLocation(second, "out_color");
    ASSERT_GE(chosen, 0);
    const GLuint wanted = chosen == 0 ? 1 : 0;
    glBindFragDataLocation(second, wanted, "out_color");
    glBindFragDataLocation(second, 1 - wanted, "glow");
    EXPECT_EQ(glGetFragDataLocation(second, "out_color"), chosen);
    const Output output = capture_output([&] { relink_shader_program(record); });
    EXPECT_EQ(output.out, "Shader linking succesfull.\n");
    EXPECT_EQ(record.program, second);
    EXPECT_EQ(glGetFragDataLocation(second, "out_color"), static_cast<GLint>(wanted));
}

TEST_F(ShaderProgramTest, PhongProgramBindsItsColourOutputOrStopsWithOneLine)
{
    ShaderProgram program;
    Output output = capture_output([&] { EXPECT_FALSE(load_phong_program(program)); });
    EXPECT_EQ(output.err, "Vertex shader file Shaders/phong.vert does not exist.\n"
                          "Could not compile phong shader program.\n");

    // Whatever the linker picked, out_color ends up at draw buffer 0.
    scratch.write("Shaders/phong.vert", VERTEX);
    scratch.write("Shaders/phong.frag", TWO_OUTPUTS);
    output = capture_output([&] { EXPECT_TRUE(load_phong_program(program)); });
    EXPECT_EQ(output.out, "Shader linking succesfull.\nShader linking succesfull.\n");
    EXPECT_TRUE(program.linked);
    EXPECT_EQ(glGetFragDataLocation(program.program, "out_color"), 0);
    destroy_shader_program(program);

    // A program that links once but not with out_color at 0 (another output
    // claims that location) is refused as a whole and deleted.
    scratch.write("Shaders/phong.frag", R"(#version 150
#extension GL_ARB_explicit_attrib_location : require
layout(location = 0) out vec4 glow;
out vec4 out_color;
void main() { glow = vec4(0.0); out_color = vec4(1.0); }
)");
    output = capture_output([&] { EXPECT_FALSE(load_phong_program(program)); });
    EXPECT_NE(output.out.find("Shader linking succesfull.\nShader linking failed.\n"),
              std::string::npos)
        << output.out;
    EXPECT_EQ(output.err, "Geometric shader file Shaders/phong.geom does not exist.\n"
                          "Could not compile phong shader program.\n");
    EXPECT_FALSE(program.linked);
    EXPECT_EQ(program.program, 0u);
    EXPECT_FALSE(glIsShader(program.vertex_shader));
}

} // namespace
