// Fuzz target: arbitrary bytes as an OBJ model a player shares, imported
// from memory with the game's flags and checks, each mesh made into the
// arrays the renderer uploads, and the materials' texture names walked as
// the game does before it reads them (the files are not read here).
#include "fuzz_support.h"

#include "render/model_file.h"

#include <assimp/material.h>
#include <assimp/scene.h>

#include <cstring>

namespace {

bool one_line(const std::string& text)
{
    return !text.empty() && text.find('\n') == std::string::npos;
}

void check_mesh(const aiMesh& mesh, unsigned at, bool drawn)
{
    const MeshArrays arrays = mesh_arrays(mesh);
    const size_t vertices = mesh.mNumVertices;
    const std::string name = "mesh " + std::to_string(at) + " of " + std::to_string(vertices) + " vertices";
    FUZZ_EXPECT(arrays.positions.size() == (mesh.HasPositions() ? 4 * vertices : 0),
                name + " has " + std::to_string(arrays.positions.size()) + " position floats");
    for (size_t w = 3; w < arrays.positions.size(); w += 4)
        FUZZ_EXPECT(arrays.positions[w] == 1.0f, name + ": a position with w = " + std::to_string(arrays.positions[w]));
    FUZZ_EXPECT(arrays.texture_coordinates.size() == (mesh.HasTextureCoords(0) ? 2 * vertices : 0),
                name + " has " + std::to_string(arrays.texture_coordinates.size()) + " texture coordinates");
    FUZZ_EXPECT(arrays.indices.size() % 3 == 0, name + " has " + std::to_string(arrays.indices.size()) + " indices");
    for (const uint32_t index : arrays.indices)
        FUZZ_EXPECT(index < vertices, name + " has the index " + std::to_string(index));
    // The game draws the last mesh: one that passed the import's check
    // must give the renderer a triangle.
    FUZZ_EXPECT(!drawn || !arrays.indices.empty(), "the drawn " + name + " has no triangle to upload");
}

void walk_texture_names(const aiScene& scene)
{
    for (unsigned m = 0; m < scene.mNumMaterials; ++m) {
        aiString path;
        for (unsigned index = 0;
             aiGetMaterialTexture(scene.mMaterials[m], aiTextureType_DIFFUSE, index, &path) == AI_SUCCESS; ++index)
            FUZZ_EXPECT(path.length < MAXLEN && std::strlen(path.C_Str()) <= path.length,
                        "material " + std::to_string(m) + " names a texture of length " + std::to_string(path.length));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const ImportedModel model = import_model(data, size, "obj");
    if (model.scene == nullptr) {
        FUZZ_EXPECT(one_line(model.problem), "a refused model says [" + model.problem + "]");
        return 0;
    }
    FUZZ_EXPECT(model.problem.empty(), "an accepted model says [" + model.problem + "]");
    const aiScene& scene = *model.scene;
    FUZZ_EXPECT(scene.mNumMeshes > 0 && scene.mMeshes != nullptr, "an accepted model has no mesh");
    for (unsigned m = 0; m < scene.mNumMeshes; ++m)
        check_mesh(*scene.mMeshes[m], m, m + 1 == scene.mNumMeshes);
    walk_texture_names(scene);
    return 0;
}
