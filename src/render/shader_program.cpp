#include "render/shader_program.h"

#include "render/info_log.h"
#include "render/text_file.h"

#include <iostream>
#include <iterator>

namespace {

// Room for the compiler's and linker's logs, terminator included.
constexpr GLsizei INFO_LOG_BYTES = 8096;

// A program with a geometry stage is the particle update: points in, at most
// two points out, and these outputs captured into separate buffers.
constexpr GLint GEOMETRY_MAX_VERTICES = 2;
const char* const FEEDBACK_OUTPUTS[] = {"gs_out_Position", "gs_out_Velocity", "gs_out_Timer",
                                        "gs_out_Type"};

// Drivers that still offer the old geometry-shader extensions take the
// primitive types and the vertex limit on the program. Others (Mesa among
// them) have no such entry point; there the geometry source declares them in
// its layout qualifiers, so nothing is lost by skipping the call.
void set_geometry_parameters(GLuint program)
{
    if (GLEW_EXT_geometry_shader4 && glProgramParameteriEXT) {
        glProgramParameteriEXT(program, GL_GEOMETRY_INPUT_TYPE_EXT, GL_POINTS);
        glProgramParameteriEXT(program, GL_GEOMETRY_OUTPUT_TYPE_EXT, GL_POINTS);
        glProgramParameteriEXT(program, GL_GEOMETRY_VERTICES_OUT_EXT, GEOMETRY_MAX_VERTICES);
    } else if (GLEW_ARB_geometry_shader4 && glProgramParameteriARB) {
        glProgramParameteriARB(program, GL_GEOMETRY_INPUT_TYPE_ARB, GL_POINTS);
        glProgramParameteriARB(program, GL_GEOMETRY_OUTPUT_TYPE_ARB, GL_POINTS);
        glProgramParameteriARB(program, GL_GEOMETRY_VERTICES_OUT_ARB, GEOMETRY_MAX_VERTICES);
    }
}

// Links the record's program object and reports the outcome; a program that
// does not link is deleted.
void link_and_report(ShaderProgram& record)
{
    glLinkProgram(record.program);
    GLint status = GL_FALSE;
    glGetProgramiv(record.program, GL_LINK_STATUS, &status);
    if (status == GL_TRUE) {
        std::cout << "Shader linking succesfull." << std::endl;
        return;
    }
    std::cout << "Shader linking failed." << std::endl;
    const std::string log = program_info_log(record.program, INFO_LOG_BYTES);
    if (!log.empty())
        std::cout << log << std::endl;
    glDeleteProgram(record.program);
    record.program = 0;
}

} // namespace

GLuint compile_shader_source(const std::string& source, GLenum type)
{
    const GLuint shader = glCreateShader(type);
    if (shader == 0) {
        std::cerr << "Could not create shader object." << std::endl;
        return 0;
    }
    // With its length given, the text needs no terminator and may hold any
    // byte.
    const GLchar* text = source.data();
    const GLint length = static_cast<GLint>(source.size());
    glShaderSource(shader, 1, &text, &length);
    glCompileShader(shader);

    GLint status = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &status);
    if (status != GL_TRUE) {
        std::cout << "Shader compilation failed." << std::endl;
        const std::string log = shader_info_log(shader, INFO_LOG_BYTES);
        if (!log.empty())
            std::cout << log << std::endl;
    }
    return shader;
}

void link_shader_program(ShaderProgram& record)
{
    record.program = glCreateProgram();
    glAttachShader(record.program, record.vertex_shader);
    if (record.has_geometry) {
        glAttachShader(record.program, record.geometry_shader);
        glAttachShader(record.program, record.fragment_shader);
        set_geometry_parameters(record.program);
        glTransformFeedbackVaryings(record.program,
                                    static_cast<GLsizei>(std::size(FEEDBACK_OUTPUTS)),
                                    FEEDBACK_OUTPUTS, GL_SEPARATE_ATTRIBS);
    } else {
        glAttachShader(record.program, record.fragment_shader);
    }
    link_and_report(record);
}

void relink_shader_program(ShaderProgram& record)
{
    link_and_report(record);
}

ShaderProgram load_shader_program(const std::string& base)
{
    ShaderProgram record;

    // All files are found and read before any OpenGL object exists, so a
    // missing file leaves nothing behind.
    const std::string vertex_file = base + ".vert";
    if (!file_exists(vertex_file)) {
        std::cerr << "Vertex shader file " << vertex_file << " does not exist." << std::endl;
        return record;
    }
    const std::string vertex_source = read_text_file(vertex_file);

    const std::string geometry_file = base + ".geom";
    std::string geometry_source;
    if (file_exists(geometry_file)) {
        geometry_source = read_text_file(geometry_file);
        record.has_geometry = true;
    } else {
        std::cerr << "Geometric shader file " << geometry_file << " does not exist." << std::endl;
    }

    const std::string fragment_file = base + ".frag";
    if (!file_exists(fragment_file)) {
        std::cerr << "Fragment shader file " << fragment_file << " does not exist." << std::endl;
        return record;
    }
    const std::string fragment_source = read_text_file(fragment_file);

    // A shader that does not compile still goes on to the link, which then
    // fails and reports it.
    record.vertex_shader = compile_shader_source(vertex_source, GL_VERTEX_SHADER);
    if (record.vertex_shader == 0)
        return record;
    if (record.has_geometry) {
        record.geometry_shader = compile_shader_source(geometry_source, GL_GEOMETRY_SHADER);
        if (record.geometry_shader == 0)
            return record;
    }
    record.fragment_shader = compile_shader_source(fragment_source, GL_FRAGMENT_SHADER);
    if (record.fragment_shader == 0)
        return record;

    link_shader_program(record);
    record.linked = record.program != 0;
    return record;
}

void destroy_shader_program(const ShaderProgram& record)
{
    glDeleteProgram(record.program);
    glDeleteShader(record.vertex_shader);
    glDeleteShader(record.fragment_shader);
}
