// The progress file, progress.inp beside the settings, in the settings
// format:
//
//     level_4 = 6     # level 4 solved, in 6 launches at best
//     EndConfigFile
//
// It ends with the sentry line, so that a file cut short is known as one.
// Two games may play from one directory at once: each write takes a lock,
// reads the file again and merges it with the game's own progress, so that
// no game's solve is lost to another's.
#pragma once

#include "progress/progress.h"
#include "result/result.h"

#include <string>

constexpr const char* PROGRESS_FILE = "progress.inp";
// A broken progress file is kept under this suffix, never overwritten.
constexpr const char* BROKEN_SUFFIX = ".bad";
// The file beside it that writers lock, one at a time.
constexpr const char* LOCK_SUFFIX = ".lock";

struct ProgressRead {
    // The levels solved, or the one line, naming the file, that says why it
    // could not be used; the game then plays as a new player.
    Result<Progress> progress;
    // The file is there but could not be read, or was broken and could not
    // be moved aside: it may hold the player's work, so this run never
    // writes over it.
    bool kept_as_is = false;
};

// Reads the progress; a missing file is a new player's, with nothing said.
// A file that cannot be read or is broken fails; a broken one is first
// moved aside.
ProgressRead read_progress(const std::string& file_name);

// The file's text for this progress.
std::string progress_text(const Progress& progress);

// Merges the file as it is now into `progress`, the better of each level's
// launches kept, and writes the result whole. A failure's problem is one
// line naming the file; a file found broken or unreadable then is left as
// it is.
Result<> write_progress(const std::string& file_name, Progress& progress);
