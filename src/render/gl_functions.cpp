#include "render/gl_functions.h"

#include <GL/glew.h>

namespace {

struct GlFunction {
    const char* name;
    const void* pointer;
};

} // namespace

// Every function here is one of GLEW's pointers, read when this is called.
// OpenGL 1.1's are linked from the library itself and are always there.
// glProgramParameteriEXT and ARB are left out: the geometry shader's
// parameters are set through whichever one the context has.
#define GL_FUNCTION(name) GlFunction{#name, reinterpret_cast<const void*>(name)}

std::vector<std::string> missing_gl_functions()
{
    const GlFunction used[] = {
        GL_FUNCTION(glActiveTexture),
        GL_FUNCTION(glAttachShader),
        GL_FUNCTION(glBeginTransformFeedback),
        GL_FUNCTION(glBindAttribLocation),
        GL_FUNCTION(glBindBuffer),
        GL_FUNCTION(glBindBufferBase),
        GL_FUNCTION(glBindFragDataLocation),
        GL_FUNCTION(glBindVertexArray),
        GL_FUNCTION(glBlendFuncSeparate),
        GL_FUNCTION(glBufferData),
        GL_FUNCTION(glCompileShader),
        GL_FUNCTION(glCopyBufferSubData),
        GL_FUNCTION(glCreateProgram),
        GL_FUNCTION(glCreateShader),
        GL_FUNCTION(glDeleteBuffers),
        GL_FUNCTION(glDeleteProgram),
        GL_FUNCTION(glDeleteShader),
        GL_FUNCTION(glDeleteVertexArrays),
        GL_FUNCTION(glDrawArraysInstanced),
        GL_FUNCTION(glDrawElementsInstanced),
        GL_FUNCTION(glEnableVertexAttribArray),
        GL_FUNCTION(glEndTransformFeedback),
        GL_FUNCTION(glGenBuffers),
        GL_FUNCTION(glGenVertexArrays),
        GL_FUNCTION(glGetAttribLocation),
        GL_FUNCTION(glGetProgramInfoLog),
        GL_FUNCTION(glGetProgramiv),
        GL_FUNCTION(glGetShaderInfoLog),
        GL_FUNCTION(glGetShaderiv),
        GL_FUNCTION(glGetUniformLocation),
        GL_FUNCTION(glLinkProgram),
        GL_FUNCTION(glShaderSource),
        GL_FUNCTION(glTexBuffer),
        GL_FUNCTION(glTransformFeedbackVaryings),
        GL_FUNCTION(glUniform1i),
        GL_FUNCTION(glUniform2f),
        GL_FUNCTION(glUniform4f),
        GL_FUNCTION(glUniformMatrix4fv),
        GL_FUNCTION(glUseProgram),
        GL_FUNCTION(glVertexAttribPointer),
    };
    std::vector<std::string> missing;
    for (const GlFunction& function : used)
        if (function.pointer == nullptr)
            missing.emplace_back(function.name);
    return missing;
}
