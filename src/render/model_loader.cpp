#include "render/model_loader.h"

#include "game/game.h"
#include "render/texture_loader.h"

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <chrono>
#include <iostream>

static_assert(MODEL_IMPORT_FLAGS == (aiProcess_CalcTangentSpace | aiProcess_JoinIdenticalVertices |
                                     aiProcess_Triangulate),
              "the import flags are tangent space, joined vertices and triangles");

namespace {

bool has_triangles(const aiMesh& mesh)
{
    for (unsigned f = 0; f < mesh.mNumFaces; ++f)
        if (mesh.mFaces[f].mNumIndices == 3)
            return true;
    return false;
}

} // namespace

bool load_model(Game& game, const ShaderProgram& program, const std::string& file,
                bool has_mip_levels, double* texture_seconds, bool shown_as_stored)
{
    // The importer owns the scene; both go at the end of this call, once
    // everything the renderer needs is in OpenGL objects.
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(file, MODEL_IMPORT_FLAGS);
    if (scene == nullptr) {
        std::cout << importer.GetErrorString() << std::endl;
        // The importer's text does not always say which file it was reading.
        std::cerr << "Cannot load \"" << file << "\": it is missing or not a model the importer can read."
                  << std::endl;
        return false;
    }
    // Models are found by their place in the list, so a model that would add
    // no record would hand every later model the wrong index.
    if (scene->mMeshes == nullptr || scene->mNumMeshes == 0) {
        std::cerr << file << ": the model has no mesh to draw." << std::endl;
        return false;
    }
    // The model is drawn with the triangles of its last mesh; a model made
    // only of points or lines would be invisible.
    if (!has_triangles(*scene->mMeshes[scene->mNumMeshes - 1])) {
        std::cerr << file << ": the model has no faces to draw." << std::endl;
        return false;
    }
    const auto textures_begin = std::chrono::steady_clock::now();
    load_textures(*scene, game, has_mip_levels, shown_as_stored);
    const std::chrono::duration<double> texture_time = std::chrono::steady_clock::now() - textures_begin;
    if (texture_seconds != nullptr)
        *texture_seconds += texture_time.count();
    game.upload_meshes(program, *scene, has_mip_levels);
    return true;
}
