#include "render/mesh_upload.h"

#include "game/game.h"
#include "platform/window.h"
#include "render/model_file.h"
#include "gl/shader_program.h"

#include <GL/glew.h>
#include <assimp/material.h>
#include <assimp/scene.h>

#include <vector>

namespace {

static_assert(sizeof(aiVector3D) == 3 * sizeof(float),
              "normals are uploaded straight from the importer's array");

// Uploads one vertex stream into a new buffer and feeds it to the program's
// attribute of that name. A name the program lacks still gets its buffer but
// no attribute, since there is nowhere to feed it.
void upload_stream(GLuint program, const char* attribute, GLint components, const void* data,
                   size_t bytes)
{
    GLuint buffer = 0;
    glGenBuffers(1, &buffer);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(bytes), data, GL_STATIC_DRAW);
    const GLint location = glGetAttribLocation(program, attribute);
    if (location < 0)
        return;
    glEnableVertexAttribArray(static_cast<GLuint>(location));
    glVertexAttribPointer(static_cast<GLuint>(location), components, GL_FLOAT, GL_FALSE, 0,
                          nullptr);
}

// The index buffer is bound while the vertex array is, so the array keeps
// it. Returns the number of indices.
GLsizei upload_triangles(const std::vector<uint32_t>& indices)
{
    GLuint buffer = 0;
    glGenBuffers(1, &buffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices.size() * sizeof(GLuint)),
                 indices.data(), GL_STATIC_DRAW);
    return static_cast<GLsizei>(indices.size());
}

} // namespace

void load_vertex_array_functions(Game& game)
{
    game.gen_vertex_arrays =
        reinterpret_cast<GenVertexArraysFn>(platform::get_proc_address("glGenVertexArrays"));
    game.bind_vertex_array =
        reinterpret_cast<BindVertexArrayFn>(platform::get_proc_address("glBindVertexArray"));
    game.delete_vertex_arrays =
        reinterpret_cast<DeleteVertexArraysFn>(platform::get_proc_address("glDeleteVertexArrays"));
}

void upload_meshes(Game& game, const ShaderProgram& program, const aiScene& scene)
{
    if (scene.mMeshes == nullptr || scene.mNumMeshes == 0)
        return;

    // Every mesh is uploaded, but a model is drawn as one vertex array: the
    // record describes the last mesh, with the texture of the last mesh that
    // has one.
    MeshRecord record;
    for (unsigned m = 0; m < scene.mNumMeshes; ++m) {
        const aiMesh& mesh = *scene.mMeshes[m];
        GLuint vertex_array = 0;
        game.gen_vertex_arrays(1, &vertex_array);
        game.bind_vertex_array(vertex_array);

        const MeshArrays arrays = mesh_arrays(mesh);
        if (!arrays.positions.empty())
            upload_stream(program.program, "in_position", 4, arrays.positions.data(),
                          arrays.positions.size() * sizeof(float));
        if (mesh.HasNormals())
            upload_stream(program.program, "in_normals", 3, mesh.mNormals,
                          size_t{mesh.mNumVertices} * sizeof(aiVector3D));
        if (!arrays.texture_coordinates.empty())
            upload_stream(program.program, "in_textcoords", 2, arrays.texture_coordinates.data(),
                          arrays.texture_coordinates.size() * sizeof(float));
        record.vertex_array = vertex_array;
        record.index_count = upload_triangles(arrays.indices);

        game.bind_vertex_array(0);
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);

        if (mesh.mMaterialIndex >= scene.mNumMaterials)
            continue;
        aiString path;
        if (aiGetMaterialTexture(scene.mMaterials[mesh.mMaterialIndex], aiTextureType_DIFFUSE, 0,
                                 &path) == AI_SUCCESS) {
            const auto found = game.texture_map.find(path.C_Str());
            record.texture = found != game.texture_map.end() ? found->second : 0;
        }
    }
    game.mesh_records.push_back(record);
}
