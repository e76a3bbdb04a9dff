#include "render/phong_program.h"

#include <iostream>

namespace {

// The fragment shader's colour output, written to draw buffer 0.
constexpr const char* COLOUR_OUTPUT = "out_color";
constexpr GLuint COLOUR_BUFFER = 0;

bool fail(const ShaderProgram& program)
{
    std::cerr << "Could not compile phong shader program." << std::endl;
    destroy_shader_program(program);
    return false;
}

} // namespace

bool load_phong_program(ShaderProgram& program)
{
    program = load_shader_program(PHONG_SHADER_BASE);
    if (!program.linked)
        return fail(program);
    // A fragment output binding only takes effect at the next link.
    glBindFragDataLocation(program.program, COLOUR_BUFFER, COLOUR_OUTPUT);
    relink_shader_program(program);
    if (program.program == 0) {
        program.linked = false;
        return fail(program);
    }
    return true;
}
