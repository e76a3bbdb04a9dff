// The level editor in the game: E opens the level being played in it, its
// keys edit the level with the cursor, Tab plays it with the real rules,
// and every change is shown, and judged by the solver, before the next
// frame.
#pragma once

#include "editor/level_editor.h"

#include <cstdint>

class Game;

// One editing session, kept from one E to the next while the level stays.
struct EditorSession {
    LevelEditor editor;
    // The grid as the level's file holds it; none for a level never saved.
    // Edits undone back to it are no longer unsaved.
    LevelGrid saved_grid;
    bool unsaved = false;
    // The level played before Ctrl+N, to go back to if the new level is
    // left unsaved.
    int32_t level_before_new = 0;
    // Changed since the unsaved edits were last kept beside the level, and
    // the clock when they were.
    bool edits_to_keep = false;
    double kept_at = -1.0e9;
    bool keeping_failed = false; // said once a session
};

// The key handler while a level is edited or play-tested, and E in play;
// true when the key was the editor's. The others go on to the game's keys.
bool editor_key(Game& game, int key, int action);

// After the world's update: the goal of a play-test goes back to the editor.
void follow_play_test(Game& game);

// After the world's update: a level the game cannot play (one saved without
// a ship start) opens in the editor, to be mended, instead of ending the
// game.
void follow_unplayable_level(Game& game);

// Keeps the unsaved edits beside the level within a second of each edit;
// `now` is the clock in seconds. At the end of the game, `at_once`.
void keep_unsaved_edits_in_time(Game& game, double now, bool at_once = false);
