// Loading one model file of the model table.
#pragma once

#include <string>

class Game;
struct ShaderProgram;

// What the importer does to every model: compute tangent space, join
// identical vertices, and triangulate (the renderer draws triangles only).
constexpr unsigned MODEL_IMPORT_FLAGS = 0x0B;

// Imports the file, loads the textures its materials name and appends one
// MeshRecord for it to game.mesh_records. Returns false, with the reason
// printed, when the file cannot be imported or holds no mesh; nothing is
// appended then. When texture_seconds is given, the time spent on textures
// is added to it, so that start-up can tell images from meshes.
bool load_model(Game& game, const ShaderProgram& program, const std::string& file,
                bool has_mip_levels, double* texture_seconds = nullptr, bool shown_as_stored = false);
