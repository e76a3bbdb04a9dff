// The strict compiler: one shader from one file, for programs whose caller
// links them itself.
#pragma once

#include <GL/glew.h>

#include <string>

// Compiles the file as a shader of the given type and returns its name. A
// missing file is reported and gives 0; a shader that does not compile is
// reported with its log and ends the process with exit status 1.
GLuint compile_shader_file(const std::string& file_name, GLenum type);
