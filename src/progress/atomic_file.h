// Files that survive a kill at any moment: a new file is written beside
// the old one, flushed to the disk, then renamed over it, and the directory
// is synced so the rename itself is kept. A reader sees the old file or the
// new one whole, never a mix of the two or a file cut short.
#pragma once

#include "result/result.h"

#include <string>

// Replaces `path` with `text`. A failure's problem is the system's words,
// such as "Permission denied"; the old file, if any, is left as it was. Each call writes a new file of its own,
// `path`.new.PID.N, so that two writers at once, in one process or two,
// never write into the same one. A writer killed before its rename leaves
// that file behind; nothing ever reads it.
Result<> replace_file_atomically(const std::string& path, const std::string& text);

// Moves a file aside to `path` + suffix without ever replacing a file that
// is already there: the first free of suffix, suffix.2, ... suffix.1000.
// Gives the name it now has, or the system's words for why it could not be
// moved ("File exists" when all of those names are taken).
Result<std::string> move_aside(const std::string& path, const std::string& suffix);
