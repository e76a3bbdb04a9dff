// Shader programs from source files, against a real context: the lenient
// loader, the Phong program's start-up and the build that ends the game.
#include "game/fatal_error.h"
#include "gl_test.h"
#include "render/phong_program.h"
#include "gl/program_builder.h"

#include <regex>

namespace {

const std::string VERTEX = "#version 150\nin vec4 in_position;\nvoid main() { gl_Position = in_position; }\n";
const std::string FRAGMENT = "#version 150\nout vec4 out_color;\nvoid main() { out_color = vec4(1.0); }\n";
// Calls a function it only declares: compiles, but cannot link.
const std::string UNRESOLVED_FRAGMENT =
    "#version 150\nvec4 never_defined();\nout vec4 out_color;\nvoid main() { out_color = never_defined(); }\n";
// Two colour outputs; in the second, the other one claims location 0.
const std::string BOTH_WRITTEN = "out vec4 out_color;\nvoid main() { glow = vec4(0.0); out_color = vec4(1.0); }\n";
const std::string GLOW_ANYWHERE = "#version 150\nout vec4 glow;\n" + BOTH_WRITTEN;
const std::string GLOW_AT_ZERO = "#version 150\n#extension GL_ARB_explicit_attrib_location : require\n"
                                 "layout(location = 0) out vec4 glow;\n" + BOTH_WRITTEN;
// The particle update's shape, with the four outputs the loader captures.
const std::string GEOMETRY = "#version 150\nlayout(points) in;\nlayout(points, max_vertices = 2) out;\n"
                             "out vec4 gs_out_Position, gs_out_Velocity;\nout float gs_out_Timer, gs_out_Type;\n"
                             "void main() { gs_out_Position = gs_out_Velocity = vec4(0.0); "
                             "gs_out_Timer = gs_out_Type = 0.0; EmitVertex(); }\n";

const std::string NO_GEOMETRY = "Geometric shader file Shaders/phong.geom does not exist.\n";
const std::string REFUSED = "Could not compile phong shader program.\n";

class ShaderTest : public GlTest {};

// Every case reads Shaders/phong.*, where the Phong program lives. The
// logs are one or more lines, never blank ones.
TEST_F(ShaderTest, ProgramsLinkOrSayWhyInTheirLines)
{
    struct Case {
        const char* name;
        std::string vertex, geometry, fragment; // "": no such file
        bool phong;      // load_phong_program rather than load_shader_program
        std::string out; // a regular expression
        std::string err;
        bool linked;
    };
    const Case cases[] = {
        {"no vertex file", "", "", FRAGMENT, false, "", "Vertex shader file Shaders/phong.vert does not exist.\n",
         false},
        {"two stages", VERTEX, "", FRAGMENT, false, "Shader linking succesfull\\.\n", NO_GEOMETRY, true},
        {"compile error", "#version 150\nvoid main() { gl_Position = vec4(1.0) }\n", "", FRAGMENT, false,
         "Shader compilation failed\\.\n(.+\n)+Shader linking failed\\.\n(.+\n)+", NO_GEOMETRY, false},
        {"link error", VERTEX, "", UNRESOLVED_FRAGMENT, false,
         "Shader linking failed\\.\n(.+\n)*.*never_defined.*\n(.+\n)*", NO_GEOMETRY, false},
        {"geometry stage", VERTEX, GEOMETRY, FRAGMENT, false, "Shader linking succesfull\\.\n", "", true},
        {"a captured output missing", VERTEX, std::regex_replace(GEOMETRY, std::regex("_Type"), "_Kind"),
         FRAGMENT, false, "Shader linking failed\\.\n(.+\n)*.*gs_out_Type.*\n(.+\n)*", "", false},
        {"phong binds out_color to buffer 0", VERTEX, "", GLOW_ANYWHERE, true,
         "(Shader linking succesfull\\.\n){2}", NO_GEOMETRY, true},
        {"phong refused when it cannot", VERTEX, "", GLOW_AT_ZERO, true,
         "Shader linking succesfull\\.\nShader linking failed\\.\n(.+\n)+", NO_GEOMETRY + REFUSED, false},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        const ScratchDirectory files;
        for (const auto& [extension, source] :
             {std::pair{"vert", row.vertex}, {"geom", row.geometry}, {"frag", row.fragment}})
            if (!source.empty())
                files.write("Shaders/phong." + std::string(extension), source);
        ShaderProgram record;
        std::string fatal; // printed by the entry point, on standard error
        const Output output = capture_output([&] {
            try {
                if (row.phong)
                    load_phong_program(record);
                else
                    record = load_shader_program(PHONG_SHADER_BASE);
            } catch (const FatalError& error) {
                fatal = error.message + "\n";
            }
        });
        EXPECT_TRUE(std::regex_match(output.out, std::regex(row.out))) << output.out;
        EXPECT_EQ(output.err + fatal, row.err);
        EXPECT_EQ(record.linked, row.linked);
        EXPECT_EQ(record.program != 0, row.linked);
        if (row.phong) {
            EXPECT_EQ(fatal.empty(), row.linked);
            EXPECT_EQ(glIsShader(record.vertex_shader), row.linked) << "refused as a whole";
            EXPECT_EQ(row.linked ? glGetFragDataLocation(record.program, "out_color") : 0, 0);
        }
    }
}

// The beamer effect's way: shaders read from files in turn, each named as it
// compiles; one that does not compile ends the game, a failed link is told
// and the program kept.
TEST_F(ShaderTest, ProgramsThatEndTheGameOnlyWhenAShaderDoesNotCompile)
{
    struct Case {
        const char* name;
        std::string vertex, geometry; // "": no such file
        std::string out;
        std::string err;   // a regular expression
        std::string fatal; // the FatalError's message, a regular expression; "": none
        bool linked;
    };
    const Case cases[] = {
        {"both stages", VERTEX, GEOMETRY, "Shader: Shaders/u.vert compiled\nShader: Shaders/u.geom compiled\n", "", "",
         true},
        {"a file missing", "", GEOMETRY, "shader file Shaders/u.vert does not exist.\nShader: Shaders/u.geom compiled\n",
         "Failed to link shaders: \n(.+\n)+", "", false},
        {"a captured output missing", VERTEX, std::regex_replace(GEOMETRY, std::regex("_Velocity"), "_Speed"),
         "Shader: Shaders/u.vert compiled\nShader: Shaders/u.geom compiled\n",
         "Failed to link shaders: \n(.+\n)*.*gs_out_Velocity.*\n(.+\n)*", "", false},
        {"a compile error", VERTEX, "#version 150\nvoid main( { }\n", "Shader: Shaders/u.vert compiled\n", "",
         "Failed to compile shader: Shaders/u.geom\n(.+\n)*.*error.*", false},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        const ScratchDirectory files;
        for (const auto& [extension, source] : {std::pair{"vert", row.vertex}, {"geom", row.geometry}})
            if (!source.empty())
                files.write("Shaders/u." + std::string(extension), source);
        ProgramOptions options;
        options.stages = {{GL_VERTEX_SHADER, "Shaders/u.vert", ""}, {GL_GEOMETRY_SHADER, "Shaders/u.geom", ""}};
        options.geometry = {GL_POINTS, GL_POINTS, 2};
        options.feedback_outputs = {"gs_out_Position", "gs_out_Velocity"};
        options.on_failure = OnFailure::END_GAME;
        ShaderProgram record;
        std::string fatal;
        const Output output = capture_output([&] {
            try {
                record = build_program(options);
            } catch (const FatalError& error) {
                fatal = error.message;
            }
        });
        EXPECT_EQ(output.out, row.out);
        EXPECT_TRUE(std::regex_match(output.err, std::regex(row.err))) << output.err;
        EXPECT_TRUE(std::regex_match(fatal, std::regex(row.fatal))) << fatal;
        EXPECT_EQ(record.linked, row.linked);
        EXPECT_EQ(glIsProgram(record.program), row.fatal.empty()) << "kept even when it does not link";
    }
}

} // namespace
