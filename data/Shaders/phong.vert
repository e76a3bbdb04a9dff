#version 150
// Every model of the game: places the vertex and hands the fragment stage
// what it needs for lighting, in scene space (the level centred at the
// origin, before the camera).

uniform mat4 camera_matrix;
uniform mat4 projection_matrix;
uniform mat4 world_translation_matrix;
uniform mat4 cubetranslation_matrix; // the model matrix of this draw
// While cells_instanced is 1, each instance takes its model matrix from
// cell_matrices instead, as four texels (the columns) from gl_InstanceID * 4.
uniform samplerBuffer cell_matrices;
uniform int cells_instanced;

in vec4 in_position;
in vec3 in_normals;
in vec2 in_textcoords;

out vec3 scene_position;
out vec3 scene_normal;
out vec2 texture_coordinates;
out vec3 eye_position;

mat4 model_matrix()
{
    if (cells_instanced != 1)
        return cubetranslation_matrix;
    int first = gl_InstanceID * 4;
    return mat4(texelFetch(cell_matrices, first), texelFetch(cell_matrices, first + 1),
                texelFetch(cell_matrices, first + 2), texelFetch(cell_matrices, first + 3));
}

void main()
{
    mat4 model = world_translation_matrix * model_matrix();
    vec4 position = model * in_position;
    scene_position = position.xyz;
    // Models are only turned, moved and scaled evenly, so the model matrix
    // itself carries normals correctly once they are renormalised.
    scene_normal = mat3(model) * in_normals;
    texture_coordinates = in_textcoords;
    // The camera matrix is a rotation R and a translation t; the eye sits
    // at -R^T t.
    eye_position = -(transpose(mat3(camera_matrix)) * camera_matrix[3].xyz);
    gl_Position = projection_matrix * camera_matrix * position;
}
