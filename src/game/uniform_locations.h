#pragma once

#include <cstdint>

// Where the Phong program's uniforms live, looked up once after linking.
struct UniformLocations {
    int32_t camera_matrix = -1;
    int32_t projection_matrix = -1;
    int32_t world_translation_matrix = -1;
    int32_t cubetranslation_matrix = -1;
    int32_t Texture0 = -1;
    int32_t lightning = -1;
};

// The program the sky and the walls are drawn with, and where its uniforms
// live; a program of 0 means they are drawn with the Phong program.
struct UnlitProgram {
    uint32_t program = 0;
    int32_t camera_matrix = -1;
    int32_t projection_matrix = -1;
    int32_t world_translation_matrix = -1;
    int32_t cubetranslation_matrix = -1;
};
