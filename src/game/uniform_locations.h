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
