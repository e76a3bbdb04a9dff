#include "gl/saved_gl_state.h"

namespace {

void set_enabled(GLenum capability, GLboolean enabled)
{
    if (enabled == GL_TRUE)
        glEnable(capability);
    else
        glDisable(capability);
}

} // namespace

SavedGlState::SavedGlState()
{
    depth_test_ = glIsEnabled(GL_DEPTH_TEST);
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depth_mask_);
    cull_face_ = glIsEnabled(GL_CULL_FACE);
    blend_ = glIsEnabled(GL_BLEND);
    framebuffer_srgb_ = glIsEnabled(GL_FRAMEBUFFER_SRGB);
    glGetIntegerv(GL_BLEND_SRC_RGB, &blend_source_rgb_);
    glGetIntegerv(GL_BLEND_DST_RGB, &blend_destination_rgb_);
    glGetIntegerv(GL_BLEND_SRC_ALPHA, &blend_source_alpha_);
    glGetIntegerv(GL_BLEND_DST_ALPHA, &blend_destination_alpha_);
    glGetIntegerv(GL_CURRENT_PROGRAM, &program_);
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &vertex_array_);
    glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &array_buffer_);
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active_texture_);
    glActiveTexture(GL_TEXTURE0);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture_on_unit_0_);
}

SavedGlState::~SavedGlState()
{
    set_enabled(GL_DEPTH_TEST, depth_test_);
    glDepthMask(depth_mask_);
    set_enabled(GL_CULL_FACE, cull_face_);
    set_enabled(GL_BLEND, blend_);
    set_enabled(GL_FRAMEBUFFER_SRGB, framebuffer_srgb_);
    glBlendFuncSeparate(static_cast<GLenum>(blend_source_rgb_), static_cast<GLenum>(blend_destination_rgb_),
                        static_cast<GLenum>(blend_source_alpha_), static_cast<GLenum>(blend_destination_alpha_));
    glUseProgram(static_cast<GLuint>(program_));
    glBindVertexArray(static_cast<GLuint>(vertex_array_));
    glBindBuffer(GL_ARRAY_BUFFER, static_cast<GLuint>(array_buffer_));
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(texture_on_unit_0_));
    glActiveTexture(static_cast<GLenum>(active_texture_));
}
