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
    bool unsaved = false;
    // The level played before Ctrl+N, to go back to if the new level is
    // left unsaved.
    int32_t level_before_new = 0;
};

// The key handler while a level is edited or play-tested, and E in play;
// true when the key was the editor's. The others go on to the game's keys.
bool editor_key(Game& game, int key, int action);

// After the world's update: the goal of a play-test goes back to the editor.
void follow_play_test(Game& game);
