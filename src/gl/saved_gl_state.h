// The OpenGL state the text pass changes, read before it and put back
// after it, so that the scene renderer finds its context as it left it
// whatever that was: depth test and writes, culling, blending and its
// factors, sRGB writes, the program, vertex array, array buffer, active
// texture unit and the texture on unit 0.
#pragma once

#include <GL/glew.h>

class SavedGlState {
public:
    SavedGlState();
    ~SavedGlState();
    SavedGlState(const SavedGlState&) = delete;
    SavedGlState& operator=(const SavedGlState&) = delete;

private:
    GLboolean depth_test_ = GL_FALSE;
    GLboolean depth_mask_ = GL_TRUE;
    GLboolean cull_face_ = GL_FALSE;
    GLboolean blend_ = GL_FALSE;
    GLboolean framebuffer_srgb_ = GL_FALSE;
    GLint blend_source_rgb_ = GL_ONE;
    GLint blend_destination_rgb_ = GL_ZERO;
    GLint blend_source_alpha_ = GL_ONE;
    GLint blend_destination_alpha_ = GL_ZERO;
    GLint program_ = 0;
    GLint vertex_array_ = 0;
    GLint array_buffer_ = 0;
    GLint active_texture_ = GL_TEXTURE0;
    GLint texture_on_unit_0_ = 0;
};
