#include "gl/program_builder.h"

#include "game/fatal_error.h"
#include "gl/info_log.h"
#include "gl/text_file.h"

#include <iostream>

namespace {

// Room for a compiler's or linker's log, terminator included. Programs that
// end the game have always read their logs into the larger buffer.
constexpr GLsizei REPORT_LOG_BYTES = 8096;
constexpr GLsizei END_GAME_LOG_BYTES = 10000;

GLuint& shader_slot(ShaderProgram& record, GLenum type)
{
    if (type == GL_GEOMETRY_SHADER)
        return record.geometry_shader;
    return type == GL_FRAGMENT_SHADER ? record.fragment_shader : record.vertex_shader;
}

// A reported failure's log, as a line of its own when there is one.
void print_log(const std::string& log)
{
    if (!log.empty())
        std::cout << log << std::endl;
}

// Returns the shader, compiled or not: a failed one is still attached, so
// that the link fails and says so too. Returns 0 only when no shader object
// could be made; with END_GAME that too is a shader that does not compile.
GLuint compile_stage(const ShaderStage& stage, const std::string& source, OnFailure on_failure)
{
    const GLuint shader = glCreateShader(stage.type);
    if (shader == 0 && on_failure != OnFailure::END_GAME) {
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
    if (on_failure == OnFailure::END_GAME) {
        if (status != GL_TRUE)
            throw FatalError{"Failed to compile shader: " + stage.file + "\n" +
                             shader_info_log(shader, END_GAME_LOG_BYTES)};
        std::cout << "Shader: " << stage.file << " compiled" << std::endl;
    } else if (status != GL_TRUE) {
        std::cout << "Shader compilation failed." << std::endl;
        print_log(shader_info_log(shader, REPORT_LOG_BYTES));
    }
    return shader;
}

// Drivers that offer the old geometry-shader extensions take the primitive
// types and the vertex limit on the program. Others (Mesa among them) have
// no such entry point; there the geometry source declares them in its layout
// qualifiers, so nothing is lost by skipping the call.
void set_geometry_parameters(GLuint program, const GeometryParameters& geometry)
{
    if (GLEW_EXT_geometry_shader4 && glProgramParameteriEXT) {
        glProgramParameteriEXT(program, GL_GEOMETRY_INPUT_TYPE_EXT, static_cast<GLint>(geometry.input));
        glProgramParameteriEXT(program, GL_GEOMETRY_OUTPUT_TYPE_EXT, static_cast<GLint>(geometry.output));
        glProgramParameteriEXT(program, GL_GEOMETRY_VERTICES_OUT_EXT, geometry.max_vertices);
    } else if (GLEW_ARB_geometry_shader4 && glProgramParameteriARB) {
        glProgramParameteriARB(program, GL_GEOMETRY_INPUT_TYPE_ARB, static_cast<GLint>(geometry.input));
        glProgramParameteriARB(program, GL_GEOMETRY_OUTPUT_TYPE_ARB, static_cast<GLint>(geometry.output));
        glProgramParameteriARB(program, GL_GEOMETRY_VERTICES_OUT_ARB, geometry.max_vertices);
    }
}

} // namespace

ShaderProgram build_program(const ProgramOptions& options)
{
    ShaderProgram record;
    for (const ShaderStage& stage : options.stages) {
        std::string source = stage.source;
        if (!stage.file.empty()) {
            // The stage's slot stays 0; the link then fails and says so.
            if (!file_exists(stage.file)) {
                std::cout << "shader file " << stage.file << " does not exist." << std::endl;
                continue;
            }
            source = read_text_file(stage.file);
        }
        const GLuint shader = compile_stage(stage, source, options.on_failure);
        if (shader == 0)
            return record;
        shader_slot(record, stage.type) = shader;
    }

    record.program = glCreateProgram();
    for (const ShaderStage& stage : options.stages)
        glAttachShader(record.program, shader_slot(record, stage.type));
    if (options.geometry.max_vertices > 0)
        set_geometry_parameters(record.program, options.geometry);
    if (!options.feedback_outputs.empty())
        glTransformFeedbackVaryings(record.program, static_cast<GLsizei>(options.feedback_outputs.size()),
                                    options.feedback_outputs.data(), GL_SEPARATE_ATTRIBS);
    for (const NamedLocation& attribute : options.attributes)
        glBindAttribLocation(record.program, attribute.location, attribute.name);
    for (const NamedLocation& output : options.outputs)
        glBindFragDataLocation(record.program, output.location, output.name);
    relink_program(record, options.on_failure);
    return record;
}

void relink_program(ShaderProgram& record, OnFailure on_failure)
{
    glLinkProgram(record.program);
    GLint status = GL_FALSE;
    glGetProgramiv(record.program, GL_LINK_STATUS, &status);
    record.linked = status == GL_TRUE;
    switch (on_failure) {
    case OnFailure::REPORT:
        std::cout << (record.linked ? "Shader linking succesfull." : "Shader linking failed.") << std::endl;
        if (!record.linked)
            print_log(program_info_log(record.program, REPORT_LOG_BYTES));
        break;
    case OnFailure::END_GAME:
        if (!record.linked) {
            std::cerr << "Failed to link shaders: " << std::endl;
            std::cerr << program_info_log(record.program, END_GAME_LOG_BYTES) << std::endl;
        }
        return;
    case OnFailure::FALL_BACK:
        break;
    }
    if (!record.linked) {
        glDeleteProgram(record.program);
        record.program = 0;
    }
}

void destroy_shader_program(const ShaderProgram& record)
{
    glDeleteProgram(record.program);
    glDeleteShader(record.vertex_shader);
    glDeleteShader(record.fragment_shader);
}

GLuint build_overlay_program(const char* vertex_source, const char* fragment_source,
                             std::vector<NamedLocation> attributes)
{
    ProgramOptions options;
    options.stages = {{GL_VERTEX_SHADER, "", vertex_source}, {GL_FRAGMENT_SHADER, "", fragment_source}};
    options.attributes = std::move(attributes);
    options.outputs = {{0, "out_color"}};
    options.on_failure = OnFailure::FALL_BACK;
    const ShaderProgram built = build_program(options);
    glDeleteShader(built.vertex_shader);
    glDeleteShader(built.fragment_shader);
    return built.program;
}
