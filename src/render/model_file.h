// Reading model files with the importer, and the checks every model passes
// before the renderer takes it. No OpenGL here: this runs on the reader
// thread while the window opens, and under the fuzzer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Assimp {
class Importer;
}
struct aiMesh;
struct aiScene;

// What the importer does to every model: compute tangent space, join
// identical vertices, and triangulate (the renderer draws triangles only).
constexpr unsigned MODEL_IMPORT_FLAGS = 0x0B;

// The largest model file the game reads. Our models are a few kilobytes;
// a detailed one of a hundred thousand triangles is about 6 MiB as text.
// The importer holds several copies of what it reads, so a file of this
// size already costs it about 150 MiB.
constexpr uint64_t MAX_MODEL_BYTES = 8 * 1024 * 1024;

struct ImportedModel {
    ImportedModel();
    ~ImportedModel();
    ImportedModel(ImportedModel&&) noexcept;
    ImportedModel& operator=(ImportedModel&&) noexcept;

    std::unique_ptr<Assimp::Importer> importer; // owns the scene
    const aiScene* scene = nullptr;             // null when the model cannot be used
    std::string importer_said;                  // the importer's own error text
    std::string problem;                        // one line naming the file, when refused
};

// Imports the file. A file over MAX_MODEL_BYTES is refused before the
// importer opens it; a scene without a mesh, or whose drawn (last) mesh has
// no triangle, is refused after.
ImportedModel import_model(const std::string& file);

// The same from bytes in memory; `hint` is the file type's extension.
// Files a model names (its materials) cannot be found from memory.
ImportedModel import_model(const uint8_t* bytes, size_t size, const char* hint);

// One mesh as the renderer's vertex streams: positions with w = 1, u and v
// of the first texture channel, and the indices of its triangles. Faces
// that are not triangles are left out, since reading three indices of a
// shorter face would run past it, and so are triangles with an index past
// the last vertex, which the driver would read out of bounds.
struct MeshArrays {
    std::vector<float> positions;
    std::vector<float> texture_coordinates;
    std::vector<uint32_t> indices;
};
MeshArrays mesh_arrays(const aiMesh& mesh);
