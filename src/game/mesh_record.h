#pragma once

#include <cstdint>

// One loaded model, ready to draw with a single indexed call. The names are
// OpenGL object names; this header stays free of OpenGL headers so that the
// game's state can be used where there is no OpenGL.
struct MeshRecord {
    uint32_t vertex_array = 0;
    uint32_t texture = 0;
    int32_t index_count = 0;
};

// The signatures of glGenVertexArrays, glBindVertexArray and
// glDeleteVertexArrays, which the game calls through pointers of its own.
using GenVertexArraysFn = void (*)(int count, uint32_t* arrays);
using BindVertexArrayFn = void (*)(uint32_t array);
using DeleteVertexArraysFn = void (*)(int count, const uint32_t* arrays);
