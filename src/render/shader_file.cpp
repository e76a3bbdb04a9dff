#include "render/shader_file.h"

#include "render/info_log.h"
#include "render/text_file.h"

#include <cstdlib>
#include <iostream>

namespace {

// Room for the compiler's log, terminator included.
constexpr GLsizei INFO_LOG_BYTES = 10000;

} // namespace

GLuint compile_shader_file(const std::string& file_name, GLenum type)
{
    if (!file_exists(file_name)) {
        std::cout << "shader file " << file_name << " does not exist." << std::endl;
        return 0;
    }
    const std::string source = read_text_file(file_name);
    const GLuint shader = glCreateShader(type);
    const GLchar* text = source.data();
    const GLint length = static_cast<GLint>(source.size());
    glShaderSource(shader, 1, &text, &length);
    glCompileShader(shader);

    GLint status = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &status);
    if (status != GL_TRUE) {
        // The effect cannot work without this shader, so the game stops here
        // rather than run with a broken program.
        std::cerr << "Failed to compile shader: " << file_name << std::endl;
        std::cerr << shader_info_log(shader, INFO_LOG_BYTES) << std::endl;
        std::exit(1);
    }
    std::cout << "Shader: " << file_name << " compiled" << std::endl;
    return shader;
}
