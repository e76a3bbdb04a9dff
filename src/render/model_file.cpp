#include "render/model_file.h"

#include <assimp/DefaultIOSystem.h>
#include <assimp/IOSystem.hpp>
#include <assimp/Importer.hpp>
#include <assimp/MemoryIOWrapper.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <algorithm>
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

// Whether a material file begins a material before it says anything else.
// The importer writes each statement into the material being made without
// checking that one was begun, so a "map_Kd" or an "a" before the first
// "newmtl" crashes it; and "newmtl" counts only at the start of a line. Its
// reader ends lines at \n, \r, \f and \0 alike.
bool begins_a_material(const std::string& text)
{
    const std::string line_ends("\n\r\f\0", 4);
    for (size_t at = 0; at < text.size();) {
        const size_t end = std::min(text.find_first_of(line_ends, at), text.size());
        const size_t first = text.find_first_not_of(" \t\v", at);
        if (text.compare(at, 6, "newmtl") == 0)
            return true;
        if (first < end && text[first] != '#')
            return false;
        at = end + 1;
    }
    return true;
}

// The files of the disk, where every file the importer opens besides the
// model is one of its material files, checked before the importer reads it:
// one that does not begin a material first is not opened.
class CheckedMaterials : public Assimp::DefaultIOSystem {
public:
    explicit CheckedMaterials(std::string model) : model_(std::move(model)) {}
    Assimp::IOStream* Open(const char* file, const char* mode) override
    {
        Assimp::IOStream* stream = DefaultIOSystem::Open(file, mode);
        if (stream == nullptr || ComparePaths(file, model_.c_str()))
            return stream;
        if (stream->FileSize() > MAX_MODEL_BYTES) {
            refused_ = std::string("its material file ") + file + " is over " + std::to_string(MAX_MODEL_BYTES) +
                       " bytes";
        } else {
            std::string text(stream->FileSize(), '\0');
            text.resize(text.empty() ? 0 : stream->Read(text.data(), 1, text.size()));
            stream->Seek(0, aiOrigin_SET);
            if (begins_a_material(text))
                return stream;
            refused_ = std::string("its material file ") + file + " says something before its first newmtl";
        }
        Close(stream);
        return nullptr;
    }
    // Why the last material file was not opened; "" when none was refused.
    const std::string& refused() const { return refused_; }

private:
    std::string model_;
    std::string refused_;
};

// The bytes under one name, and no other file. Reading from memory, the
// importer would open the material files a model names in the working
// directory, and take the model's own bytes for its fallback material
// file: an OBJ whose first line is "bump" then crashes it.
class OneFile : public Assimp::IOSystem {
public:
    OneFile(const uint8_t* bytes, size_t size, std::string name) : bytes_(bytes), size_(size), name_(std::move(name)) {}
    bool Exists(const char* file) const override { return name_ == file; }
    char getOsSeparator() const override { return '/'; }
    Assimp::IOStream* Open(const char* file, const char* mode) override
    {
        return Exists(file) && mode[0] == 'r' ? new Assimp::MemoryIOStream(bytes_, size_) : nullptr;
    }
    void Close(Assimp::IOStream* stream) override { delete stream; }

private:
    const uint8_t* bytes_;
    size_t size_;
    std::string name_;
};

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
    auto* files = new CheckedMaterials(file);
    model.importer->SetIOHandler(files); // the importer deletes it
    const aiScene* read = model.importer->ReadFile(file, 0);
    if (!files->refused().empty()) {
        model.problem = "Cannot load \"" + file + "\": " + files->refused() + ".";
        read = nullptr;
    }
    model.scene = read_then_process(model, read, file);
    check_scene(model, file);
    return model;
}

ImportedModel import_model(const uint8_t* bytes, size_t size, const char* hint)
{
    ImportedModel model;
    const std::string name = std::string("a model in memory (") + hint + ")";
    if (size <= MAX_MODEL_BYTES) {
        const std::string file = std::string("model.") + hint;
        model.importer->SetIOHandler(new OneFile(bytes, size, file)); // the importer deletes it
        model.scene = read_then_process(model, model.importer->ReadFile(file, 0), name);
    }
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
