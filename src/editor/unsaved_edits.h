// Edits not yet saved, kept in a file beside the level so that quitting,
// another level, a new level, a crash or a kill loses at most the last
// moment of work: levels/3.lev's are in levels/3.lev.unsaved, written in the
// level file's own form and replaced whole, never half written.
#pragma once

#include "editor/level_draft.h"
#include "result/result.h"

#include <optional>
#include <string>

std::string unsaved_edits_file(const std::string& level_file);

// Writes the draft's edits beside its level file; a failure's problem is
// the system's words.
Result<> keep_unsaved_edits(const LevelDraft& draft);

// Once they are saved, or undone back to the level file, there is nothing
// to keep.
void forget_unsaved_edits(const std::string& level_file);

// What was kept for a level file: a draft of it with the edits, nothing
// when nothing was kept, or, for a file that cannot be read, the failure
// whose one line says so, after the file has been moved aside (never
// deleted).
Result<std::optional<LevelDraft>> kept_unsaved_edits(const std::string& level_file);
