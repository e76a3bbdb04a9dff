// GLSL programs and the lenient loader: a program from a base name's source
// files, with every step reported on the console, that never ends the game
// and tells the caller through `linked`. Programs are built by
// build_program (program_builder.h).
#pragma once

#include <GL/glew.h>

#include <string>

// The objects of one program. A step that did not run leaves its name 0.
struct ShaderProgram {
    bool linked = false; // the last link succeeded
    GLuint vertex_shader = 0;
    GLuint geometry_shader = 0;
    GLuint fragment_shader = 0;
    GLuint program = 0; // 0 after a failed link, unless built to be kept
};

// Reads base + ".vert", base + ".geom" (optional) and base + ".frag",
// compiles and links them. Every file is checked before any OpenGL object is
// made. With a geometry stage, the program is the particle update's shape:
// points in, at most two points out, four outputs captured. Never ends the
// process.
ShaderProgram load_shader_program(const std::string& base);

// Deletes the program and the vertex and fragment shaders; names that are 0
// are ignored.
void destroy_shader_program(const ShaderProgram& record);
