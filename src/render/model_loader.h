// Loading one model of the model table into OpenGL.
#pragma once

#include <string>

class Game;
struct PreparedModel;
struct ShaderProgram;

// Uploads a prepared model: loads the textures its materials name and
// appends one MeshRecord for it to game.mesh_records. Raises FatalError,
// after the importer's own words on standard output, when the file could not
// be imported or was refused; nothing is appended then. When texture_seconds is given, the time spent
// on textures is added to it, so that start-up can tell images from meshes.
void load_model(Game& game, const ShaderProgram& program, PreparedModel& model,
                double* texture_seconds = nullptr);

// Reads the file and its images here and now, then loads it as above.
void load_model(Game& game, const ShaderProgram& program, const std::string& file, bool has_mip_levels,
                bool shown_as_stored = false);
