// The one way the game builds a GLSL program: its stages compiled in turn,
// the bindings its shaders expect made, the program linked, and every step
// reported in the words and on the streams its program has always used.
#pragma once

#include <GL/glew.h>

#include <string>
#include <vector>

// The objects of one program. A step that did not run leaves its name 0.
struct ShaderProgram {
    bool linked = false; // the last link succeeded
    GLuint vertex_shader = 0;
    GLuint geometry_shader = 0;
    GLuint fragment_shader = 0;
    GLuint program = 0; // 0 after a failed link, unless built to be kept
};

// Deletes the program and the vertex and fragment shaders; names that are 0
// are ignored.
void destroy_shader_program(const ShaderProgram& record);

// One stage of a program: its source text in hand, or a file read when the
// stage's turn comes.
struct ShaderStage {
    GLenum type = GL_VERTEX_SHADER;
    std::string file;   // empty: `source` is the text
    std::string source; // only without a file
};

// A vertex attribute or a fragment output and the location it is bound to.
struct NamedLocation {
    GLuint location = 0;
    const char* name = nullptr;
};

// What the geometry stage takes in, gives out and at most emits for each
// input, for drivers that want it said on the program as well as in the
// source.
struct GeometryParameters {
    GLenum input = GL_POINTS;
    GLenum output = GL_POINTS;
    GLint max_vertices = 0; // 0: the program has no geometry stage
};

// What a failed compile or link does, and what the build says on the way.
enum class OnFailure {
    // A failed compile and every link, failed or not, are told on standard
    // output, failures with their logs; the caller decides what follows. A
    // program that does not link is deleted.
    REPORT,
    // A shader that does not compile ends the game (FatalError, with its log);
    // each compiled file is named on standard output. A failed link is told
    // on standard error with its log, and the program is kept: the effect
    // then draws nothing useful, but the game goes on.
    END_GAME,
    // A compile failure is told as with REPORT; the link says nothing, and a
    // program that does not link is deleted, so that the caller draws with
    // another one.
    FALL_BACK,
};

struct ProgramOptions {
    std::vector<ShaderStage> stages;           // compiled and attached in this order
    std::vector<NamedLocation> attributes;     // bound before the link
    std::vector<NamedLocation> outputs;        // fragment outputs, bound before the link
    std::vector<const char*> feedback_outputs; // captured into one buffer each, in this order
    GeometryParameters geometry;
    OnFailure on_failure = OnFailure::REPORT;
};

// Compiles the stages, creates the program, binds and links it. The record
// names each stage's shader in its slot and the program, with `linked` set
// from the link; 0 where a step did not run or its object was deleted.
// With REPORT or FALL_BACK, a shader object the driver cannot create is
// reported and ends the build before any program exists. Throws FatalError
// when a stage built with END_GAME does not compile.
ShaderProgram build_program(const ProgramOptions& options);

// A small program of a vertex and a fragment shader given as text, with
// one output, `out_color`, at 0: its shaders are let go once it is linked.
// 0 when the driver refused it, which was reported; what draws with it then
// draws nothing.
GLuint build_overlay_program(const char* vertex_source, const char* fragment_source,
                             std::vector<NamedLocation> attributes);

// Links the record's program object again, so that bindings made since the
// last link take effect, and reports and fails like build_program. The
// program must not be 0.
void relink_program(ShaderProgram& record, OnFailure on_failure);
