// The level editor in the game: E opens the level being played in it, its
// commands edit the level with the cursor, Tab plays it with the real
// rules, and every change is shown, and judged by the solver, before the
// next frame.
#pragma once

#include "editor/level_editor.h"
#include "game/level_set.h"

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
    LevelSet set_before_new = LevelSet::SHIPPED;
    // Changed since the unsaved edits were last kept beside the level, and
    // the clock when they were.
    bool edits_to_keep = false;
    double kept_at = -1.0e9;
    bool keeping_failed = false; // said once a session
};

// Opens the level being played in the editor, from its unsaved edits when
// they were kept; says why when the file cannot be edited.
void open_editor(Game& game);
// Back to play, from the level's file; a saved level that cannot be played
// keeps the editor open, and a new level never saved goes back to the one
// played before.
void close_editor(Game& game);
// Plays the level being edited with the real rules, from its ship start.
void play_test(Game& game);
// From a play-test back to the draft as it was.
void back_to_editing(Game& game);
// Writes the level file, or says why not.
void save_level(Game& game);
// Starts a new level in the next free file of the player's own set, which
// the game then plays.
void new_level(Game& game);
// Puts the level being edited on the clipboard as a level code, or says why
// it cannot be one.
void copy_level(Game& game);
// Makes a new level of the player's own from the code on the clipboard and
// saves it; a clipboard without one gives one line and changes nothing.
void paste_level(Game& game);
// V: shows or hides the solver's view, unless the settings keep it off.
void toggle_solver_view(Game& game);
// Undoes the last edit, or redoes the last undone one.
void step_edit_history(Game& game, bool forward);

// The cursor's moves: away, nearer, right and left follow the view along
// the level's floor; up and down go a layer up or down.
enum class CursorMove { AWAY, NEARER, RIGHT, LEFT, UP, DOWN };
// Moves the cursor one cell, never out of the grid.
void move_edit_cursor(Game& game, CursorMove move);
// Puts a cell value (a cube, a beamer, the ship start, the goal, or empty)
// at the cursor, or says why it cannot go there.
void place_at_cursor(Game& game, int32_t content);
// Grows or shrinks the grid by this many cells a side.
void resize_level(Game& game, int32_t by);

// After the world's update: the goal of a play-test goes back to the editor.
void follow_play_test(Game& game);

// After the world's update: a level the game cannot play (one saved without
// a ship start) opens in the editor, to be mended, instead of ending the
// game.
void follow_unplayable_level(Game& game);

// Keeps the unsaved edits beside the level within a second of each edit;
// `now` is the clock in seconds. At the end of the game, `at_once`.
void keep_unsaved_edits_in_time(Game& game, double now, bool at_once = false);
