#include "render/unlit_program.h"

#include "gl/program_builder.h"

#include <iostream>

namespace {

const char* const UNLIT_VERTEX_SOURCE = R"(#version 150
uniform mat4 camera_matrix;
uniform mat4 projection_matrix;
uniform mat4 world_translation_matrix;
uniform mat4 cubetranslation_matrix;
in vec4 in_position;
in vec2 in_textcoords;
out vec2 texture_coordinates;
void main()
{
    texture_coordinates = in_textcoords;
    gl_Position = projection_matrix * camera_matrix * world_translation_matrix * cubetranslation_matrix * in_position;
}
)";

// The texture unit decodes the sRGB texels; alpha is opacity.
const char* const UNLIT_FRAGMENT_SOURCE = R"(#version 150
uniform sampler2D Texture0;
in vec2 texture_coordinates;
out vec4 out_color;
void main()
{
    out_color = texture(Texture0, texture_coordinates);
}
)";

// Each attribute at the location the Phong program gave it; one the Phong
// program does not use is left to the linker.
std::vector<NamedLocation> locations_like_phong(GLuint phong)
{
    std::vector<NamedLocation> bindings;
    for (const char* attribute : {"in_position", "in_textcoords"}) {
        const GLint location = glGetAttribLocation(phong, attribute);
        if (location >= 0)
            bindings.push_back({static_cast<GLuint>(location), attribute});
    }
    return bindings;
}

} // namespace

UnlitProgram build_unlit_program(uint32_t phong_program)
{
    ProgramOptions options;
    options.stages = {{GL_VERTEX_SHADER, "", UNLIT_VERTEX_SOURCE}, {GL_FRAGMENT_SHADER, "", UNLIT_FRAGMENT_SOURCE}};
    options.attributes = locations_like_phong(phong_program);
    options.outputs = {{0, "out_color"}};
    options.on_failure = OnFailure::FALL_BACK;
    const ShaderProgram built = build_program(options);
    // The shaders go with the program, or now when there is none.
    glDeleteShader(built.vertex_shader);
    glDeleteShader(built.fragment_shader);

    UnlitProgram unlit;
    if (built.program == 0) {
        std::cerr << "The sky and wall program did not link; they are drawn with the Phong program." << std::endl;
        return unlit;
    }
    const GLuint program = built.program;
    unlit.program = program;
    unlit.camera_matrix = glGetUniformLocation(program, "camera_matrix");
    unlit.projection_matrix = glGetUniformLocation(program, "projection_matrix");
    unlit.world_translation_matrix = glGetUniformLocation(program, "world_translation_matrix");
    unlit.cubetranslation_matrix = glGetUniformLocation(program, "cubetranslation_matrix");
    glUseProgram(program);
    glUniform1i(glGetUniformLocation(program, "Texture0"), 0);
    glUseProgram(0);
    return unlit;
}
