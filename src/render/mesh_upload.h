// Turning an imported model into vertex arrays the renderer draws with one
// call each.
#pragma once

class Game;
struct ShaderProgram;
struct aiScene;

// Fetches the game's three vertex-array entry points; needs an open window.
void load_vertex_array_functions(Game& game);

// Uploads every mesh of an imported model into vertex arrays and appends
// one MeshRecord for the model to game.mesh_records. Load the same scene's
// textures first: the record's texture is looked up in game.texture_map.
void upload_meshes(Game& game, const ShaderProgram& program, const aiScene& scene);
