#include "gl/shader_program.h"

#include "gl/program_builder.h"
#include "gl/text_file.h"

#include <iostream>

namespace {

// A program with a geometry stage is the particle update: points in, at most
// two points out, and these outputs captured into separate buffers.
constexpr GeometryParameters UPDATE_GEOMETRY = {GL_POINTS, GL_POINTS, 2};
const std::vector<const char*> FEEDBACK_OUTPUTS = {"gs_out_Position", "gs_out_Velocity", "gs_out_Timer",
                                                   "gs_out_Type"};

} // namespace

ShaderProgram load_shader_program(const std::string& base)
{
    // All files are found and read before any OpenGL object exists, so a
    // missing file leaves nothing behind.
    const std::string vertex_file = base + ".vert";
    if (!file_exists(vertex_file)) {
        std::cerr << "Vertex shader file " << vertex_file << " does not exist." << std::endl;
        return {};
    }
    ProgramOptions options;
    options.stages.push_back({GL_VERTEX_SHADER, "", read_text_file(vertex_file)});

    const std::string geometry_file = base + ".geom";
    if (file_exists(geometry_file)) {
        options.stages.push_back({GL_GEOMETRY_SHADER, "", read_text_file(geometry_file)});
        options.geometry = UPDATE_GEOMETRY;
        options.feedback_outputs = FEEDBACK_OUTPUTS;
    } else {
        std::cerr << "Geometric shader file " << geometry_file << " does not exist." << std::endl;
    }

    const std::string fragment_file = base + ".frag";
    if (!file_exists(fragment_file)) {
        std::cerr << "Fragment shader file " << fragment_file << " does not exist." << std::endl;
        return {};
    }
    options.stages.push_back({GL_FRAGMENT_SHADER, "", read_text_file(fragment_file)});
    return build_program(options);
}
