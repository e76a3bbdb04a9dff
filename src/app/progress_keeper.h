// The saved progress as the game keeps it: read at start-up, and written
// each time a level is solved in fewer launches than before, or for the
// first time, merged with what other games have saved since.
#pragma once

class Game;

// Reads the progress of the set being played into the game: progress.inp
// for ours, mylevels/progress.inp for the player's own. A file that cannot be used is told in
// one line, on screen and on standard output, and the game plays on as for
// a new player; one it could not read, or could not move aside, it never
// writes over this run.
void load_progress(Game& game);

// Records the levels this frame solved and saves them. A file that cannot
// be written is told once; the game plays on.
void keep_progress(Game& game);
