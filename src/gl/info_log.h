// Reading the compiler's and linker's logs.
#pragma once

#include <GL/glew.h>

#include <string>

// The log of a shader or program object, cut to `buffer_bytes` including
// the terminator, with trailing line ends removed so that it prints as the
// caller's own line.
std::string shader_info_log(GLuint shader, GLsizei buffer_bytes);
std::string program_info_log(GLuint program, GLsizei buffer_bytes);
