// Mesh upload: what ends up in the vertex arrays and in the one record per
// model, for models written here and imported the way the game imports its
// own.
#include "game/game.h"
#include "gl_test.h"
#include "render/model_loader.h"
#include "render/phong_program.h"

#include <GL/glew.h>
#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include <vector>

namespace {

// A square of two triangles with nothing but positions.
const char* const BARE_SQUARE = R"(v 0 0 0
v 1 0 0
v 1 1 0
v 0 1 0
f 1 2 3
f 1 3 4
)";

// One triangle with normals and three-component texture coordinates.
const char* const FULL_TRIANGLE = R"(v 0 0 0
v 1 0 0
v 0 1 0
vt 0.25 0.5 0.75
vt 1 0.5 0.5
vt 0 1 0.25
vn 0 0 1
f 1/1/1 2/2/1 3/3/1
)";

// Two objects: a textured triangle, then an untextured square.
const char* const TWO_OBJECTS = R"(mtllib two.mtl
v 0 0 0
v 1 0 0
v 0 1 0
v 2 0 0
v 3 0 0
v 3 1 0
v 2 1 0
o first
usemtl textured
f 1 2 3
o second
usemtl plain
f 4 5 6
f 4 6 7
)";

const char* const TWO_MATERIALS = R"(newmtl textured
Kd 1 1 1
map_Kd first.png
newmtl plain
Kd 1 0 0
)";

// A triangle with a stray line, as modelling tools sometimes leave.
const char* const TRIANGLE_AND_LINE = R"(v 0 0 0
v 1 0 0
v 0 1 0
f 1 2 3
l 1 2
)";

class MeshUploadTest : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        if (HasFatalFailure())
            return;
        // The game's own program gives the attribute names the loader feeds.
        {
            const WorkingDirectory data(TIRAK_DATA_DIR);
            capture_output([&] { ASSERT_TRUE(load_phong_program(program)); });
        }
        scratch = std::make_unique<ScratchDirectory>();
        game.load_vertex_array_functions();
    }

    // Imports the file as the game does and uploads it.
    const aiScene* upload(const std::string& file)
    {
        const aiScene* scene = importer.ReadFile(file, MODEL_IMPORT_FLAGS);
        EXPECT_NE(scene, nullptr) << importer.GetErrorString();
        if (scene != nullptr)
            game.upload_meshes(program, *scene, true);
        return scene;
    }

    GLint attribute(const char* name) const { return glGetAttribLocation(program.program, name); }

    bool enabled(const char* name) const
    {
        const GLint location = attribute(name);
        EXPECT_GE(location, 0) << name;
        GLint value = 0;
        glGetVertexAttribiv(static_cast<GLuint>(location), GL_VERTEX_ATTRIB_ARRAY_ENABLED, &value);
        return value != 0;
    }

    // The contents of the buffer feeding an attribute of the bound vertex
    // array.
    template <typename T> std::vector<T> stream(const char* name) const
    {
        GLint buffer = 0;
        glGetVertexAttribiv(static_cast<GLuint>(attribute(name)),
                            GL_VERTEX_ATTRIB_ARRAY_BUFFER_BINDING, &buffer);
        return buffer_contents<T>(GL_ARRAY_BUFFER, static_cast<GLuint>(buffer));
    }

    template <typename T> static std::vector<T> buffer_contents(GLenum target, GLuint buffer)
    {
        glBindBuffer(target, buffer);
        GLint bytes = 0;
        glGetBufferParameteriv(target, GL_BUFFER_SIZE, &bytes);
        std::vector<T> contents(static_cast<size_t>(bytes) / sizeof(T));
        glGetBufferSubData(target, 0, bytes, contents.data());
        return contents;
    }

    // The index buffer the bound vertex array holds.
    static std::vector<GLuint> indices()
    {
        GLint buffer = 0;
        glGetIntegerv(GL_ELEMENT_ARRAY_BUFFER_BINDING, &buffer);
        std::vector<GLuint> contents =
            buffer_contents<GLuint>(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLuint>(buffer));
        return contents;
    }

    ShaderProgram program;
    std::unique_ptr<ScratchDirectory> scratch;
    Game game;
    Assimp::Importer importer;
};

TEST_F(MeshUploadTest, VertexArrayEntryPointsAreFetched)
{
    ASSERT_NE(game.gen_vertex_arrays, nullptr);
    ASSERT_NE(game.bind_vertex_array, nullptr);
    ASSERT_NE(game.delete_vertex_arrays, nullptr);
    uint32_t vertex_array = 0;
    game.gen_vertex_arrays(1, &vertex_array);
    game.bind_vertex_array(vertex_array);
    EXPECT_TRUE(glIsVertexArray(vertex_array));
    game.delete_vertex_arrays(1, &vertex_array);
    EXPECT_FALSE(glIsVertexArray(vertex_array));
}

TEST_F(MeshUploadTest, StreamsFollowWhatTheMeshHas)
{
    scratch->write("bare.obj", BARE_SQUARE);
    const aiScene* bare = upload("bare.obj");
    ASSERT_NE(bare, nullptr);
    ASSERT_EQ(game.mesh_records.size(), 1u);
    const MeshRecord record = game.mesh_records[0];
    EXPECT_EQ(record.index_count, 6);
    EXPECT_EQ(record.texture, 0u);
    EXPECT_TRUE(record.has_mip_levels);

    game.bind_vertex_array(record.vertex_array);
    EXPECT_TRUE(enabled("in_position"));
    EXPECT_FALSE(enabled("in_normals"));
    EXPECT_FALSE(enabled("in_textcoords"));
    const aiMesh& square = *bare->mMeshes[0];
    const std::vector<float> positions = stream<float>("in_position");
    ASSERT_EQ(positions.size(), 4u * square.mNumVertices);
    for (unsigned i = 0; i < square.mNumVertices; ++i) {
        EXPECT_EQ(positions[4 * i], square.mVertices[i].x);
        EXPECT_EQ(positions[4 * i + 1], square.mVertices[i].y);
        EXPECT_EQ(positions[4 * i + 2], square.mVertices[i].z);
        EXPECT_EQ(positions[4 * i + 3], 1.0f) << "positions go up as points";
    }
    const std::vector<GLuint> bare_indices = indices();
    ASSERT_EQ(bare_indices.size(), 6u);
    for (unsigned f = 0; f < 2; ++f)
        for (unsigned k = 0; k < 3; ++k)
            EXPECT_EQ(bare_indices[3 * f + k], square.mFaces[f].mIndices[k]);

    scratch->write("full.obj", FULL_TRIANGLE);
    const aiScene* full = upload("full.obj");
    ASSERT_NE(full, nullptr);
    ASSERT_EQ(game.mesh_records.size(), 2u);
    game.bind_vertex_array(game.mesh_records[1].vertex_array);
    EXPECT_TRUE(enabled("in_position"));
    EXPECT_TRUE(enabled("in_normals"));
    EXPECT_TRUE(enabled("in_textcoords"));
    const aiMesh& triangle = *full->mMeshes[0];
    const std::vector<float> normals = stream<float>("in_normals");
    ASSERT_EQ(normals.size(), 3u * triangle.mNumVertices);
    EXPECT_EQ(normals[2], 1.0f);
    // Only u and v of each coordinate: the third is dropped.
    const std::vector<float> coordinates = stream<float>("in_textcoords");
    ASSERT_EQ(coordinates.size(), 2u * triangle.mNumVertices);
    for (unsigned i = 0; i < triangle.mNumVertices; ++i) {
        EXPECT_EQ(coordinates[2 * i], triangle.mTextureCoords[0][i].x);
        EXPECT_EQ(coordinates[2 * i + 1], triangle.mTextureCoords[0][i].y);
    }
    game.bind_vertex_array(0);
}

TEST_F(MeshUploadTest, OneRecordDescribesTheLastMeshWithTheLastTexture)
{
    scratch->write("two.obj", TWO_OBJECTS);
    scratch->write("two.mtl", TWO_MATERIALS);
    constexpr uint32_t FIRST_TEXTURE = 4242; // any name: the upload only copies it
    game.texture_map["first.png"] = FIRST_TEXTURE;
    const aiScene* scene = upload("two.obj");
    ASSERT_NE(scene, nullptr);
    ASSERT_EQ(scene->mNumMeshes, 2u);

    ASSERT_EQ(game.mesh_records.size(), 1u);
    const MeshRecord record = game.mesh_records[0];
    const aiMesh& last = *scene->mMeshes[1];
    EXPECT_EQ(record.index_count, static_cast<int32_t>(3 * last.mNumFaces));
    game.bind_vertex_array(record.vertex_array);
    EXPECT_EQ(indices().size(), 3u * last.mNumFaces);
    game.bind_vertex_array(0);
    // The last mesh names no texture, so the record keeps the first's.
    EXPECT_EQ(record.texture, FIRST_TEXTURE);

    // A name missing from the map gives no texture and adds nothing.
    game.texture_map.clear();
    upload("two.obj");
    ASSERT_EQ(game.mesh_records.size(), 2u);
    EXPECT_EQ(game.mesh_records[1].texture, 0u);
    EXPECT_TRUE(game.texture_map.empty());
}

TEST_F(MeshUploadTest, OnlyTrianglesAreDrawnAndEmptyScenesAddNothing)
{
    scratch->write("stray.obj", TRIANGLE_AND_LINE);
    upload("stray.obj");
    ASSERT_EQ(game.mesh_records.size(), 1u);
    EXPECT_EQ(game.mesh_records[0].index_count, 3);

    const aiScene empty;
    game.upload_meshes(program, empty, false);
    EXPECT_EQ(game.mesh_records.size(), 1u);
}

TEST_F(MeshUploadTest, ModelsThatCannotBeDrawnAreRefusedWithOneLine)
{
    Output output =
        capture_output([&] { EXPECT_FALSE(load_model(game, program, "obj/none.obj", true)); });
    EXPECT_EQ(output.out, "Unable to open file \"obj/none.obj\".\n");
    EXPECT_EQ(output.err,
              "Cannot load \"obj/none.obj\": it is missing or not a model the importer can read.\n");

    // A file that imports without a single mesh would shift every later
    // model's index.
    scratch->write("obj/nothing.obj", "# only a comment, and more than a few bytes of it\n");
    output =
        capture_output([&] { EXPECT_FALSE(load_model(game, program, "obj/nothing.obj", true)); });
    EXPECT_EQ(output.err, "obj/nothing.obj: the model has no mesh to draw.\n");

    // Points alone make a mesh, but nothing the renderer could show.
    scratch->write("obj/points.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\np 1 2 3\n");
    output = capture_output([&] { EXPECT_FALSE(load_model(game, program, "obj/points.obj", true)); });
    EXPECT_EQ(output.err, "obj/points.obj: the model has no faces to draw.\n");
    EXPECT_TRUE(game.mesh_records.empty());
}

} // namespace
