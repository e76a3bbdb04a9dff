// Start-up: the settings, the window and the OpenGL entry points.
#pragma once

class Game;

// Reads the settings, opens the window and loads the OpenGL entry points.
// Returns 0 on success, 1 when the window could not be opened. Throws
// ConfigFile::file_not_found for a missing settings file and FatalError when
// the OpenGL entry points could not be loaded.
int initialize(Game& game);
