#include "render/phong_program.h"

#include "game/fatal_error.h"
#include "gl/program_builder.h"

namespace {

// The fragment shader's colour output, written to draw buffer 0.
constexpr const char* COLOUR_OUTPUT = "out_color";
constexpr GLuint COLOUR_BUFFER = 0;

void refuse(const ShaderProgram& program)
{
    destroy_shader_program(program);
    throw FatalError{"Could not compile phong shader program."};
}

} // namespace

void load_phong_program(ShaderProgram& program)
{
    program = load_shader_program(PHONG_SHADER_BASE);
    if (!program.linked)
        refuse(program);
    // Bound after the first link and taken in by a second one, which reports
    // like the first: start-up has always said twice that the program linked.
    glBindFragDataLocation(program.program, COLOUR_BUFFER, COLOUR_OUTPUT);
    relink_program(program, OnFailure::REPORT);
    if (!program.linked)
        refuse(program);
}
