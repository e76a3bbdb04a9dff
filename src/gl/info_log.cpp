#include "gl/info_log.h"

#include <vector>

namespace {

std::string without_trailing_line_ends(const char* text, GLsizei length)
{
    while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r'))
        --length;
    return std::string(text, static_cast<size_t>(length));
}

} // namespace

std::string shader_info_log(GLuint shader, GLsizei buffer_bytes)
{
    std::vector<char> buffer(static_cast<size_t>(buffer_bytes), '\0');
    GLsizei length = 0;
    glGetShaderInfoLog(shader, buffer_bytes, &length, buffer.data());
    return without_trailing_line_ends(buffer.data(), length);
}

std::string program_info_log(GLuint program, GLsizei buffer_bytes)
{
    std::vector<char> buffer(static_cast<size_t>(buffer_bytes), '\0');
    GLsizei length = 0;
    glGetProgramInfoLog(program, buffer_bytes, &length, buffer.data());
    return without_trailing_line_ends(buffer.data(), length);
}
