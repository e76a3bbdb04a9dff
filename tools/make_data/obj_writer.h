// Writing models as Wavefront OBJ files with their material libraries.
#pragma once

#include "mesh.h"

#include <string>

// The one material of a model: its colours and its diffuse texture, which
// the game reads as "tex/0" + texture and the prepared levels after it.
struct Material {
    std::string texture;
    glm::vec3 specular{0.5f};
    float shininess = 32.0f;
};

// Writes directory/name.obj and directory/name.mtl: one object, one
// material, so that the game sees one mesh. Throws std::runtime_error
// naming the file when it cannot be written.
void write_model(const std::string& directory, const std::string& name, const Mesh& mesh,
                 const Material& material);
