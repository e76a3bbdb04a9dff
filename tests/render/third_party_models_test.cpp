// Models we did not write: the OBJ files of Debian's assimp-testmodels go
// through the game's own loader.
#include "game/game.h"
#include "gl_test.h"
#include "render/model_loader.h"
#include "render/phong_program.h"

#include <GL/glew.h>
#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include <filesystem>

namespace {

const std::string OBJ_MODELS = std::string(ASSIMP_TEST_MODELS) + "/OBJ/";

class ThirdPartyModelsTest : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(std::filesystem::is_directory(OBJ_MODELS))
            << OBJ_MODELS << " is missing: install assimp-testmodels";
        {
            const WorkingDirectory data(TIRAK_DATA_DIR);
            capture_output([&] { ASSERT_TRUE(load_phong_program(program)); });
        }
        game.load_vertex_array_functions();
    }

    ScratchDirectory scratch;
    ShaderProgram program;
    Game game;
};

TEST_F(ThirdPartyModelsTest, ModelsWithTrianglesLoadAsOneRecordEach)
{
    // The spider names its textures Windows style, ".\SpiderTex.jpg". Names
    // are used as they stand, so level 0 of that one is the file
    // "0.\SpiderTex.jpg" in tex/: give it its JPEG there.
    std::filesystem::create_directories("tex");
    std::filesystem::copy_file(OBJ_MODELS + "SpiderTex.jpg", "tex/0.\\SpiderTex.jpg");

    // Many meshes, quads, concave polygons, stray points and lines, material
    // names with spaces, odd number formats.
    const char* const files[] = {"WusonOBJ.obj",
                                 "spider.obj",
                                 "regr01.obj",
                                 "cube_usemtl.obj",
                                 "concave_polygon.obj",
                                 "testmixed.obj",
                                 "box_mat_with_spaces.obj",
                                 "number_formats.obj"};
    for (const char* file : files) {
        const std::string path = OBJ_MODELS + file;
        const size_t before = game.mesh_records.size();
        Output output;
        output =
            capture_output([&] { EXPECT_TRUE(load_model(game, program, path, false)) << file; });
        ASSERT_EQ(game.mesh_records.size(), before + 1) << file << output.out << output.err;

        // The record draws the triangles of the model's last mesh.
        Assimp::Importer importer;
        const aiScene* scene = importer.ReadFile(path, MODEL_IMPORT_FLAGS);
        ASSERT_NE(scene, nullptr);
        const aiMesh& last = *scene->mMeshes[scene->mNumMeshes - 1];
        int triangles = 0;
        for (unsigned f = 0; f < last.mNumFaces; ++f)
            triangles += last.mFaces[f].mNumIndices == 3 ? 1 : 0;
        const MeshRecord& record = game.mesh_records.back();
        EXPECT_EQ(record.index_count, 3 * triangles) << file;
        EXPECT_GT(record.index_count, 0) << file;
        game.bind_vertex_array(record.vertex_array);
        GLint buffer = 0;
        glGetIntegerv(GL_ELEMENT_ARRAY_BUFFER_BINDING, &buffer);
        GLint bytes = 0;
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLuint>(buffer));
        glGetBufferParameteriv(GL_ELEMENT_ARRAY_BUFFER, GL_BUFFER_SIZE, &bytes);
        EXPECT_EQ(bytes, record.index_count * 4) << file;
        game.bind_vertex_array(0);

        if (std::string(file) == "spider.obj") {
            EXPECT_NE(output.out.find("The size of the image is: tex/0.\\SpiderTex.jpg es 249*250"),
                      std::string::npos)
                << output.out;
            EXPECT_TRUE(glIsTexture(game.texture_map[".\\SpiderTex.jpg"]));
        }
    }
}

TEST_F(ThirdPartyModelsTest, UnusableFilesAreRefusedWithOneLine)
{
    // Assimp reads this UTF-16 file as holding no mesh at all.
    const std::string no_mesh = OBJ_MODELS + "box_UTF16BE.obj";
    Output output =
        capture_output([&] { EXPECT_FALSE(load_model(game, program, no_mesh, false)); });
    EXPECT_EQ(output.err, no_mesh + ": the model has no mesh to draw.\n");
    EXPECT_EQ(output.out, "");

    output = capture_output([&] {
        EXPECT_FALSE(load_model(game, program,
                                std::string(ASSIMP_TEST_MODELS) + "/invalid/malformed.obj", false));
    });
    EXPECT_EQ(output.out, "OBJ: Invalid face index.\n");
    EXPECT_TRUE(game.mesh_records.empty());
}

} // namespace
