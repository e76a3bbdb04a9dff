#include "render/model_file.h"

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <filesystem>

static_assert(MODEL_IMPORT_FLAGS == (aiProcess_CalcTangentSpace | aiProcess_JoinIdenticalVertices |
                                     aiProcess_Triangulate),
              "the import flags are tangent space, joined vertices and triangles");

ImportedModel::ImportedModel() : importer(std::make_unique<Assimp::Importer>()) {}
ImportedModel::~ImportedModel() = default;
ImportedModel::ImportedModel(ImportedModel&&) noexcept = default;
ImportedModel& ImportedModel::operator=(ImportedModel&&) noexcept = default;

namespace {

bool has_triangles(const aiMesh& mesh)
{
    for (unsigned f = 0; f < mesh.mNumFaces; ++f)
        if (mesh.mFaces[f].mNumIndices == 3)
            return true;
    return false;
}

// The faces as read, before they are cut into triangles; "" when they are
// within the limits.
std::string corner_problem(const aiScene& scene, const std::string& name)
{
    uint64_t corners = 0;
    for (unsigned m = 0; m < scene.mNumMeshes; ++m) {
        const aiMesh& mesh = *scene.mMeshes[m];
        for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
            const unsigned face = mesh.mFaces[f].mNumIndices;
            if (face > MAX_FACE_CORNERS)
                return "Cannot load \"" + name + "\": a face has " + std::to_string(face) +
                       " corners; a face may have at most " + std::to_string(MAX_FACE_CORNERS) + ".";
            corners += face;
        }
    }
    if (corners > MAX_MODEL_CORNERS)
        return "Cannot load \"" + name + "\": its faces have " + std::to_string(corners) +
               " corners; a model may have at most " + std::to_string(MAX_MODEL_CORNERS) + ".";
    return "";
}

// Reads with no work after reading, checks the faces, then does the work
// the game asks for: the same as reading with the flags, bounded.
const aiScene* read_then_process(ImportedModel& model, const aiScene* read, const std::string& name)
{
    if (read == nullptr || read->mMeshes == nullptr)
        return read;
    model.problem = corner_problem(*read, name);
    if (!model.problem.empty())
        return nullptr;
    return model.importer->ApplyPostProcessing(MODEL_IMPORT_FLAGS);
}

// Models are found by their place in the list, so a model that would add no
// record would hand every later model the wrong index; and the model is
// drawn with the triangles of its last mesh, so one made only of points or
// lines would be invisible.
void check_scene(ImportedModel& model, const std::string& name)
{
    if (!model.problem.empty())
        return;
    if (model.scene == nullptr) {
        model.importer_said = model.importer->GetErrorString();
        // The importer's text does not always say which file it was reading.
        model.problem = "Cannot load \"" + name + "\": it is missing or not a model the importer can read.";
    } else if (model.scene->mMeshes == nullptr || model.scene->mNumMeshes == 0) {
        model.problem = name + ": the model has no mesh to draw.";
    } else if (!has_triangles(*model.scene->mMeshes[model.scene->mNumMeshes - 1])) {
        model.problem = name + ": the model has no faces to draw.";
    }
    if (!model.problem.empty())
        model.scene = nullptr;
}

} // namespace

ImportedModel import_model(const std::string& file)
{
    ImportedModel model;
    std::error_code error;
    const uintmax_t bytes = std::filesystem::file_size(file, error);
    if (!error && bytes > MAX_MODEL_BYTES) {
        model.problem = "Cannot load \"" + file + "\": it is " + std::to_string(bytes) +
                        " bytes; a model file may have at most " + std::to_string(MAX_MODEL_BYTES) + ".";
        return model;
    }
    model.scene = read_then_process(model, model.importer->ReadFile(file, 0), file);
    check_scene(model, file);
    return model;
}

ImportedModel import_model(const uint8_t* bytes, size_t size, const char* hint)
{
    ImportedModel model;
    const std::string name = std::string("a model in memory (") + hint + ")";
    if (size <= MAX_MODEL_BYTES)
        model.scene = read_then_process(model, model.importer->ReadFileFromMemory(bytes, size, 0, hint), name);
    check_scene(model, name);
    return model;
}

MeshArrays mesh_arrays(const aiMesh& mesh)
{
    MeshArrays arrays;
    if (mesh.HasPositions()) {
        arrays.positions.reserve(size_t{4} * mesh.mNumVertices);
        for (unsigned i = 0; i < mesh.mNumVertices; ++i) {
            const aiVector3D& p = mesh.mVertices[i];
            arrays.positions.insert(arrays.positions.end(), {p.x, p.y, p.z, 1.0f});
        }
    }
    // Only u and v of the first channel; a third coordinate is dropped.
    if (mesh.HasTextureCoords(0)) {
        arrays.texture_coordinates.reserve(size_t{2} * mesh.mNumVertices);
        for (unsigned i = 0; i < mesh.mNumVertices; ++i) {
            const aiVector3D& uv = mesh.mTextureCoords[0][i];
            arrays.texture_coordinates.insert(arrays.texture_coordinates.end(), {uv.x, uv.y});
        }
    }
    arrays.indices.reserve(size_t{3} * mesh.mNumFaces);
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
        const aiFace& face = mesh.mFaces[f];
        if (face.mNumIndices == 3 && face.mIndices[0] < mesh.mNumVertices &&
            face.mIndices[1] < mesh.mNumVertices && face.mIndices[2] < mesh.mNumVertices)
            arrays.indices.insert(arrays.indices.end(), {face.mIndices[0], face.mIndices[1], face.mIndices[2]});
    }
    return arrays;
}
