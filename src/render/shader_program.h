// GLSL programs built from source files, with every step reported on the
// console. Two styles: load_shader_program never ends the process and tells
// the caller through `linked`; compile_shader_file (shader_file.h) stops the
// game when a shader does not compile.
#pragma once

#include <GL/glew.h>

#include <string>

// The objects of one program. A step that did not run leaves its name 0.
struct ShaderProgram {
    bool linked = false;       // the last link left a program object
    bool has_geometry = false; // a ".geom" source was found
    GLuint vertex_shader = 0;
    GLuint geometry_shader = 0; // only with has_geometry
    GLuint fragment_shader = 0;
    GLuint program = 0; // 0 after a failed link
};

// Creates and compiles one shader. Returns 0 only when no shader object
// could be created; a shader that failed to compile is returned all the same
// (its log has been printed), so that the link reports the failure.
GLuint compile_shader_source(const std::string& source, GLenum type);

// Links the record's shaders into a new program object, stored in
// `program`; on failure the object is deleted and `program` becomes 0.
// Leaves `linked` alone.
void link_shader_program(ShaderProgram& record);

// Links the record's existing program object again, so that bindings made
// since the last link take effect. Reports and fails like
// link_shader_program. The program must not be 0.
void relink_shader_program(ShaderProgram& record);

// Reads base + ".vert", base + ".geom" (optional) and base + ".frag",
// compiles and links them. Every file is checked before any OpenGL object is
// made. Never ends the process.
ShaderProgram load_shader_program(const std::string& base);

// Deletes the program and the vertex and fragment shaders; names that are 0
// are ignored.
void destroy_shader_program(const ShaderProgram& record);
