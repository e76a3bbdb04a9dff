#version 150
// Every model of the game: places the vertex and hands the fragment stage
// what it needs for lighting, in scene space (the level centred at the
// origin, before the camera).

uniform mat4 camera_matrix;
uniform mat4 projection_matrix;
uniform mat4 world_translation_matrix;
uniform mat4 cubetranslation_matrix; // the model matrix of this draw

in vec4 in_position;
in vec3 in_normals;
in vec2 in_textcoords;

out vec3 scene_position;
out vec3 scene_normal;
out vec2 texture_coordinates;
out vec3 eye_position;

void main()
{
    mat4 model = world_translation_matrix * cubetranslation_matrix;
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
