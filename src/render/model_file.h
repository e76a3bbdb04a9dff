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

// What a model may hold. Our models are a few kilobytes; a detailed one of
// 64,000 triangles with normals and texture coordinates is 6 MiB of text,
// 190,000 face corners, and imports in 0.2 s and 56 MiB. Past that, reading
// costs up to 30 bytes of memory a byte of text (8 MiB of tiny faces: 250
// MiB, 0.4 s); the work after reading about a microsecond and 130 bytes a
// corner; and cutting a face into triangles grows with the square of its
// corners (one face of 300,000 corners, 600 KB of text: three minutes). So
// the file's size is checked before it is read, and its faces before the
// work after reading starts.
constexpr uint64_t MAX_MODEL_BYTES = 8 * 1024 * 1024;
constexpr uint64_t MAX_MODEL_CORNERS = 600000; // all faces together
constexpr unsigned MAX_FACE_CORNERS = 64;

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
// importer opens it, and one over the corner limits before the importer's
// work after reading. A material file it names must not be larger either,
// and must begin a material before it says anything else. A scene without
// a mesh, or whose drawn (last) mesh has no triangle, is refused after.
ImportedModel import_model(const std::string& file);

// The same from bytes in memory; `hint` is the file type's extension. The
// importer sees no other file: a model's material files are not read.
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
