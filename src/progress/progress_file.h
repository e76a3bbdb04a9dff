// The progress file, progress.inp beside the settings, in the settings
// format, so that the game's own reader reads it:
//
//     level_4 = 6     # level 4 solved, in 6 launches at best
//     EndConfigFile
//
// It ends with the sentry line, so that a file cut short is known as one.
#pragma once

#include "progress/progress.h"

#include <string>

constexpr const char* PROGRESS_FILE = "progress.inp";
// A broken progress file is kept under this suffix, never overwritten.
constexpr const char* BROKEN_SUFFIX = ".bad";

// Reads the progress; a missing file is a new player's, with nothing said.
// A file that cannot be read or is broken gives a new player's progress
// too, with one line in `problem` naming the file; a broken one is first
// moved aside.
Progress read_progress(const std::string& file_name, std::string& problem);

// The file's text for this progress.
std::string progress_text(const Progress& progress);

// Replaces the file whole. On failure `problem` holds one line naming it.
bool write_progress(const std::string& file_name, const Progress& progress, std::string& problem);
