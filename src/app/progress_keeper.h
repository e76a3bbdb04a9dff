// The saved progress as the game keeps it: read at start-up, and written
// whole each time a level is solved in fewer launches than before, or for
// the first time.
#pragma once

class Game;

// Reads progress.inp into the game; a file that cannot be used is told in
// one line on standard error, and the game plays on as for a new player.
void load_progress(Game& game);

// Records the levels this frame solved and saves them. A file that cannot
// be written is told once; the game plays on.
void keep_progress(Game& game);
