// The beamer effect on a real OpenGL context: the particle buffers are read
// back to check what the simulation really did.
#include "gl_test.h"
#include "particles/particle_system.h"

#include <GL/glew.h>
#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace {

// Shaders of our own for checking the plumbing: each step adds the velocity
// to the position, so that the number of steps shows in the numbers.
constexpr const char* ADDING_GEOMETRY = R"(#version 150
layout(points) in;
layout(points, max_vertices = 2) out;
in vec4 vs_position[];
in vec4 vs_velocity[];
out vec4 gs_out_Position;
out vec4 gs_out_Velocity;
#ifdef TWICE
const int COPIES = 2;
#else
const int COPIES = 1;
#endif
void main()
{
    for (int copy = 0; copy < COPIES; ++copy) {
        gs_out_Position = vs_position[0] + vec4(vs_velocity[0].xyz, 0.0);
        gs_out_Velocity = vs_velocity[0];
        EmitVertex();
        EndPrimitive();
    }
}
)";

std::vector<glm::vec4> read_buffer(GLuint buffer, uint32_t count)
{
    std::vector<glm::vec4> records(count);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, count * sizeof(glm::vec4), records.data());
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return records;
}

// The effect reads its shaders from the working directory: a scratch one
// holding the shipped shaders, any of which a test may replace.
class ParticleSystemTest : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_CULL_FACE);
        for (const char* name : {"particlerender.vert", "particlerender.frag", "particlecalc.vert",
                                 "particlecalc.geom"})
            scratch.write(std::string("Shaders/") + name,
                          read_file(std::string(TIRAK_DATA_DIR) + "/Shaders/" + name));
    }

    static std::string read_file(const std::string& path)
    {
        std::ifstream in(path);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    void use_geometry_shader(const std::string& source)
    {
        scratch.write("Shaders/particlecalc.geom", source);
    }

    static void step(ParticleSystem& system)
    {
        const glm::mat4 camera = glm::lookAt(glm::vec3(3, 3, 3), glm::vec3(0), glm::vec3(0, 1, 0));
        const glm::mat4 projection = glm::perspective(glm::radians(60.0f), 4.0f / 3.0f, 0.1f, 100.0f);
        system.update_and_draw(camera, projection, glm::mat4(1.0f), glm::mat4(1.0f));
    }

    ScratchDirectory scratch;
};

TEST(ParticleData, StartValuesLieOnTheirGrids)
{
    const auto positions = make_start_positions(PARTICLE_COUNT);
    const auto velocities = make_start_velocities(PARTICLE_COUNT);
    ASSERT_EQ(positions.size(), PARTICLE_COUNT);
    ASSERT_EQ(velocities.size(), PARTICLE_COUNT);
    bool some_negative = false;
    bool some_positive = false;
    for (uint32_t i = 0; i < PARTICLE_COUNT; ++i) {
        for (int axis = 0; axis < 3; ++axis) {
            const float p = positions[i][axis];
            EXPECT_GE(p, 0.0f);
            EXPECT_LE(p, 1.98f);
            EXPECT_NEAR(p * 50.0f, std::round(p * 50.0f), 1e-3f) << "on the 0.02 grid";
            const float v = velocities[i][axis];
            EXPECT_LE(std::abs(v), 0.0099f + 1e-7f);
            EXPECT_NEAR(v * 10000.0f, std::round(v * 10000.0f), 1e-3f) << "on the 0.0001 grid";
            some_negative |= v < 0.0f;
            some_positive |= v > 0.0f;
        }
        EXPECT_EQ(positions[i].w, 1.0f);
        EXPECT_EQ(velocities[i].w, 0.0f);
    }
    EXPECT_TRUE(some_negative && some_positive) << "velocities point both ways";
}

TEST(ParticleData, QuadCornersFaceTheCamera)
{
    const auto flat = make_billboard_corners(glm::mat4(1.0f));
    EXPECT_EQ(flat[0], glm::vec4(0.2f, 0.2f, 0.0f, 1.0f));
    EXPECT_EQ(flat[1], glm::vec4(-0.2f, 0.2f, 0.0f, 1.0f));
    EXPECT_EQ(flat[2], glm::vec4(-0.2f, -0.2f, 0.0f, 1.0f));
    EXPECT_EQ(flat[3], glm::vec4(0.2f, -0.2f, 0.0f, 1.0f));

    // Seen from any camera the quad lies flat in the view plane, upright.
    const glm::mat4 camera = glm::lookAt(glm::vec3(7, 9.9f, 7), glm::vec3(0), glm::vec3(0, 1, 0));
    const auto corners = make_billboard_corners(camera);
    for (const glm::vec4& corner : corners) {
        const glm::vec4 seen = camera * glm::vec4(glm::vec3(corner), 0.0f);
        EXPECT_NEAR(seen.z, 0.0f, 1e-5f);
        EXPECT_NEAR(std::abs(seen.x), 0.2f, 1e-5f);
        EXPECT_NEAR(std::abs(seen.y), 0.2f, 1e-5f);
    }
    EXPECT_GT((camera * glm::vec4(glm::vec3(corners[0]), 0.0f)).y, 0.0f) << "starts upper right";
    EXPECT_GT((camera * glm::vec4(glm::vec3(corners[0]), 0.0f)).x, 0.0f);
}

TEST_F(ParticleSystemTest, StartsWithTheDrawnValuesAndReportsItsProgress)
{
    std::srand(7);
    const auto expected_positions = make_start_positions(PARTICLE_COUNT);
    const auto expected_velocities = make_start_velocities(PARTICLE_COUNT);
    std::srand(7);
    std::unique_ptr<ParticleSystem> made;
    const Output output = capture_output([&] { made = std::make_unique<ParticleSystem>(0); });
    ParticleSystem& system = *made;
    EXPECT_EQ(output.err, "> Creating instances...\n> Initializing scene data...\n"
                          "> Configuring rendering environment...\n> Done!\n");
    for (const char* shader : {"Shaders/particlerender.vert", "Shaders/particlerender.frag",
                               "Shaders/particlecalc.vert", "Shaders/particlecalc.geom"})
        EXPECT_NE(output.out.find(shader), std::string::npos) << output.out;

    EXPECT_EQ(system.particle_count, PARTICLE_COUNT);
    EXPECT_EQ(read_buffer(system.current_positions, PARTICLE_COUNT), expected_positions);
    EXPECT_EQ(read_buffer(system.current_velocities, PARTICLE_COUNT), expected_velocities);
    GLint linked = GL_FALSE;
    glGetProgramiv(system.update_program, GL_LINK_STATUS, &linked);
    EXPECT_EQ(linked, GL_TRUE);
    glGetProgramiv(system.render_program, GL_LINK_STATUS, &linked);
    EXPECT_EQ(linked, GL_TRUE);
}

TEST_F(ParticleSystemTest, ShippedShadersMoveParticlesAndKeepThemInTheirSpace)
{
    ParticleSystem system(0);
    const auto start = read_buffer(system.current_positions, PARTICLE_COUNT);
    step(system);
    const auto first = read_buffer(system.current_positions, PARTICLE_COUNT);
    EXPECT_NE(first, start);
    for (int i = 0; i < 600; ++i) // ten seconds: every particle has died and been reborn
        step(system);
    const auto later = read_buffer(system.current_positions, PARTICLE_COUNT);
    const auto later_velocities = read_buffer(system.current_velocities, PARTICLE_COUNT);
    for (uint32_t i = 0; i < PARTICLE_COUNT; ++i) {
        for (int axis = 0; axis < 3; ++axis) {
            EXPECT_GE(later[i][axis], 0.0f) << "particle " << i;
            EXPECT_LE(later[i][axis], 2.0f) << "particle " << i;
        }
        EXPECT_GT(later[i].w, 0.0f) << "a live particle has life left";
        EXPECT_LE(later[i].w, 1.0f);
        EXPECT_GE(later_velocities[i].w, 2.0f) << "particle " << i << " was reborn";
    }
}

TEST_F(ParticleSystemTest, EachCallReadsWhatThePreviousOneWrote)
{
    use_geometry_shader(ADDING_GEOMETRY);
    ParticleSystem system(0);
    const auto positions = read_buffer(system.current_positions, PARTICLE_COUNT);
    const auto velocities = read_buffer(system.current_velocities, PARTICLE_COUNT);

    step(system);
    step(system);
    const auto after_two = read_buffer(system.current_positions, PARTICLE_COUNT);
    for (uint32_t i = 0; i < PARTICLE_COUNT; ++i) {
        const glm::vec4 expected = positions[i] + glm::vec4(glm::vec3(velocities[i]), 0.0f) +
                                   glm::vec4(glm::vec3(velocities[i]), 0.0f);
        ASSERT_EQ(after_two[i], expected) << "particle " << i;
    }
    EXPECT_EQ(read_buffer(system.current_velocities, PARTICLE_COUNT), velocities);

    // The draw leaves the state the scene expects.
    GLint program = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    EXPECT_EQ(static_cast<GLuint>(program), system.render_program);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_RASTERIZER_DISCARD));
    GLboolean depth_writes = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depth_writes);
    EXPECT_TRUE(depth_writes);
}

TEST_F(ParticleSystemTest, CaptureNeverGrowsPastTheParticleCount)
{
    use_geometry_shader(std::string(ADDING_GEOMETRY).insert(13, "#define TWICE\n"));
    ParticleSystem system(0);
    GLuint queries[2] = {};
    glGenQueries(2, queries);
    glBeginQuery(GL_TRANSFORM_FEEDBACK_PRIMITIVES_WRITTEN, queries[0]);
    glBeginQuery(GL_PRIMITIVES_GENERATED, queries[1]);
    step(system);
    glEndQuery(GL_PRIMITIVES_GENERATED);
    glEndQuery(GL_TRANSFORM_FEEDBACK_PRIMITIVES_WRITTEN);
    GLuint written = 0;
    GLuint generated = 0;
    glGetQueryObjectuiv(queries[0], GL_QUERY_RESULT, &written);
    glGetQueryObjectuiv(queries[1], GL_QUERY_RESULT, &generated);
    // The count includes the draw's quads; the update alone made two points
    // a particle.
    EXPECT_GE(generated, 2 * PARTICLE_COUNT);
    EXPECT_EQ(written, PARTICLE_COUNT);
    for (GLuint buffer : {system.current_positions, system.current_velocities}) {
        GLint bytes = 0;
        glBindBuffer(GL_ARRAY_BUFFER, buffer);
        glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &bytes);
        EXPECT_EQ(bytes, static_cast<GLint>(PARTICLE_COUNT * sizeof(glm::vec4)));
    }
}

} // namespace
