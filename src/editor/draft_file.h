// A draft's level file: read as the game's loader reads it, written in the
// form the shipped levels have, so that one saved unchanged keeps its bytes.
#pragma once

#include "editor/level_draft.h"
#include "result/result.h"
#include "world/level_loader.h"

#include <string>

// Reads a level file as a draft: the loader's grid, whatever it holds, with
// the file's name, its notes and the order of its beamers. A file the game
// would refuse for want of a ship start still opens, so that a draft saved
// half made can be finished. Throws and fails as read_level_file does.
// `read_from`, when given, is another file in the same form to read in its
// place (the level's unsaved edits); the draft is still the level file's.
Result<LevelDraft> read_draft(const std::string& file_name, const std::string& read_from = "");

// The draft as its file would hold it: the ship start and the goal first,
// then the beamers, then the rest layer by layer from the floor (y, then z,
// then x). What the check reads and the writer writes.
LevelFile draft_level_file(const LevelDraft& draft);

// The file's text: the notes, then name, size and cubes, then the entries
// with a note at the ship, the goal and each beamer.
std::string draft_file_text(const LevelDraft& draft);

// Replaces the draft's file whole, never leaving half of it behind; a
// failure's problem is the system's words.
Result<> save_draft(const LevelDraft& draft);

// The first N.lev of the set's directory, from N = 1 on, that does not
// exist: the game plays the level files up to the first gap, so a new level
// fills it.
std::string next_free_level_file(LevelSet set);
